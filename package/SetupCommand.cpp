#include "package/SetupCommand.h"

#include "util/Paths.h"
#include "util/Text.h"

std::string RemoveSwitch(const std::string& command, const std::string& name) {
  const size_t p = name.empty() ? std::string::npos : command.find(name);
  if (p == std::string::npos) return command;
  size_t end = command.find('/', p + 1);
  if (end == std::string::npos) end = command.size();
  return command.substr(0, p) + command.substr(end);
}

std::string EngineCommandLine(const std::string& destination, const std::string& engine,
                              const std::string& tail, const std::string& threadTag,
                              const std::string& ownPath, bool isAgent) {
  std::string name = engine;
  std::string args = tail;
  if (engine.find('*') != std::string::npos) {
    name = Trim(LeftOf(engine, "*", engine));
    args = Trim(args + " " + Trim(RightOf(engine, "*", "")));
  }
  std::string command = SetTrailingBackslash(destination, true) + name;
  if (command.find(' ') != std::string::npos) command = "\"" + command + "\"";
  if (!args.empty()) command += " " + args;
  command += " /TH_ID=" + threadTag;
  if (command.find("/OriginExe=") == std::string::npos) command += " /OriginExe=\"" + ownPath + "\"";
  if (isAgent) command += " /AutoUpdateProg";
  return RemoveSwitch(RemoveSwitch(command, "/SpanCdLvl="), "/SpanDiskFName1=");
}

std::string SpanCopySwitches(const std::string& tail, const std::string& ownPath) {
  return Trim(tail + " /SpanCdLvl=2 /SpanDiskFName1=\"" + ownPath + ".001\" /OriginExe=\"" + ownPath +
              "\"");
}

std::string VolumeBasePath(const std::string& source) {
  const std::string first = ".001";
  if (source.size() >= first.size() && source.compare(source.size() - first.size(), first.size(), first) == 0)
    return source.substr(0, source.size() - first.size());
  return source;
}

std::string VolumePath(const std::string& base, int volume) {
  std::string n = IntToText(volume);
  while (n.size() < 3) n = "0" + n;
  return base + "." + n;
}

std::string DiskPromptText(const std::string& prompt, int volume) {
  return ReplaceTextCI(prompt, "<DISK_NUM>", IntToText(volume));
}

bool SourceCarriesStub(const std::string& source) {
  return EndsWithCI(source, ".exe") || EndsWithCI(source, ".exe.001");
}

std::string FreeSpaceQuestion(const std::string& folder, bool tellsDrive, double need, double free,
                              const TFreeSpaceTexts& texts, const std::string& needMB,
                              const std::string& freeMB) {
  std::string text;
  if (tellsDrive) text = texts.TellDrive;
  if (need >= free) text = texts.Limited;
  if (text.empty()) return "";
  text += texts.Required + texts.Available + texts.Continue;
  const std::string drive = folder.empty() ? "" : UpperCaseASCII(folder.substr(0, 1)) + ":";
  text = ReplaceText(text, "<DRIVE>", drive);
  text = ReplaceText(text, "<SPACE_REQ>", needMB);
  return ReplaceText(text, "<SPACE_AVAIL>", freeMB);
}
