#pragma once
// Texts of the setup flow: the engine's command line, the span copy's switches,
// volume names and the questions shown on the way.
#include <cstdint>
#include <string>

// command without the switch name (case-sensitive) and everything after it up
// to the next "/"; unchanged when the name does not occur.
std::string RemoveSwitch(const std::string& command, const std::string& name);

// The setup engine's command line. engine is the marked entry ("Engine.exe*
// /extra"); tail the text passed on (the stub's own arguments); threadTag "_"
// + thread id. The engine's path is quoted when it holds a blank, so that the
// system never tries its prefixes as programs.
std::string EngineCommandLine(const std::string& destination, const std::string& engine,
                              const std::string& tail, const std::string& threadTag,
                              const std::string& ownPath, bool isAgent);

// Switches with which the span launcher starts its copy.
std::string SpanCopySwitches(const std::string& tail, const std::string& ownPath);

// A volume set named setup.exe(.001), setup.exe.002 ...: the base without a final
// ".001", and the name of a volume (3 digits at least).
std::string VolumeBasePath(const std::string& source);
std::string VolumePath(const std::string& base, int volume);
// The prompt for a volume: every "<DISK_NUM>", in any case, becomes its number.
std::string DiskPromptText(const std::string& prompt, int volume);
// Only setup files and first volumes of setup files carry the stub's image.
bool SourceCarriesStub(const std::string& source);

struct TFreeSpaceTexts {
  std::string TellDrive;  // s2
  std::string Limited;    // s3
  std::string Required;   // s4
  std::string Available;  // s5
  std::string Continue;   // s6
};
// The free-space question for folder, or empty when none is due: with
// tellsDrive it starts with s2, with too little room (need >= free) with s3.
std::string FreeSpaceQuestion(const std::string& folder, bool tellsDrive, double need, double free,
                              const TFreeSpaceTexts& texts, const std::string& needMB,
                              const std::string& freeMB);
