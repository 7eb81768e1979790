#pragma once
// Byte-string primitives shared by lists, switches and the rest of the program.
// Case-insensitive means ASCII letters only; positions are 1-based, 0 = none.
#include <cstdint>
#include <string>

int PosCI(const std::string& needle, const std::string& haystack);

// Every occurrence, left to right, never overlapping; replaced text is not
// searched again. An empty replacement removes repeatedly, so text that a
// removal joins into a new occurrence goes too ("aabb" minus "ab" is "").
std::string ReplaceText(const std::string& text, const std::string& find, const std::string& repl);
std::string ReplaceTextCI(const std::string& text, const std::string& find, const std::string& repl);
std::string ReplaceChar(const std::string& text, char a, char b);

// Text before / after the first delimiter; def when it does not occur.
std::string LeftOf(const std::string& text, const std::string& delim, const std::string& def);
std::string RightOf(const std::string& text, const std::string& delim, const std::string& def);

std::string Trim(const std::string& s);  // drops leading/trailing bytes 0..32
std::string UpperCaseASCII(const std::string& s);
bool SameTextCI(const std::string& a, const std::string& b);
bool StartsWithCI(const std::string& text, const std::string& prefix);
bool EndsWithCI(const std::string& text, const std::string& suffix);

// The one number rule: leading blanks, optional sign, '$' 'x' 'X' "0x" "0X"
// for hexadecimal, then digits to the end. Anything else fails.
bool ReadInt64(const std::string& text, int64_t& out);
int64_t TextToInt64(const std::string& text, int64_t def);
int32_t TextToInt32(const std::string& text, int32_t def);
std::string IntToText(int64_t value);
