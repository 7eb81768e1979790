#include "util/Paths.h"

namespace {

// Whether byte i is the second byte of a double-byte character. Walking from
// the start is needed: a trail byte may itself have a lead byte's value.
bool IsTrailByte(const std::string& s, size_t i, LeadBytePredicate isLead) {
  if (!isLead) return false;
  size_t j = 0;
  while (j < i) j += isLead((unsigned char)s[j]) ? 2 : 1;
  return j > i;
}

bool EndsWithSeparator(const std::string& s, LeadBytePredicate isLead) {
  return !s.empty() && s.back() == '\\' && !IsTrailByte(s, s.size() - 1, isLead);
}

// Index of the last '\' or ':' that is a character of its own, or npos.
size_t LastDelimiter(const std::string& s, LeadBytePredicate isLead) {
  size_t found = std::string::npos;
  for (size_t j = 0; j < s.size(); j += (isLead && isLead((unsigned char)s[j])) ? 2 : 1)
    if (s[j] == '\\' || s[j] == ':') found = j;
  return found;
}

}  // namespace

std::string SetTrailingBackslash(const std::string& path, bool add, LeadBytePredicate isLead) {
  std::string r(path);
  if (r.size() >= 3 && EndsWithSeparator(r, isLead)) r.pop_back();
  if (add) r += '\\';
  return r;
}

std::string StripTrailingBackslash(const std::string& path, LeadBytePredicate isLead) {
  if (path == "\\") return std::string();
  std::string r(path);
  if (r.size() >= 2 && EndsWithSeparator(r, isLead)) r.pop_back();
  return r;
}

std::string CleanPath(const std::string& path, bool stripTrailing, LeadBytePredicate isLead) {
  std::string s(path);
  if (s.size() > 2) {
    const char f = s.front(), l = s.back();
    // s[0] is the first byte set aside; the walk covers pairs starting at
    // index 2 up to the one ending just before the last byte.
    for (size_t p = s.size() - 3; p >= 2; --p) {
      if (s[p] != '\\' || s[p + 1] != '\\' || IsTrailByte(s, p, isLead)) continue;
      if (f == l && s[p - 1] == f) continue;  // pair right after an opening quote
      s.erase(p, 1);
    }
    // A network path keeps two leading backslashes, but not three. A quoted
    // path (first byte repeated at the end, not a backslash) keeps its
    // leading pair, as it does for pairs after inner quotes.
    bool quoted = f == l && f != '\\';
    if (s.size() >= 3 && s[1] == '\\' && s[2] == '\\' && !quoted && !IsTrailByte(s, 1, isLead)) s.erase(1, 1);
  }
  return stripTrailing ? StripTrailingBackslash(s, isLead) : s;
}

std::string ExtractFileName(const std::string& path, LeadBytePredicate isLead) {
  size_t at = LastDelimiter(path, isLead);
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string ExtractFileDir(const std::string& path, LeadBytePredicate isLead) {
  size_t at = LastDelimiter(path, isLead);
  if (at == std::string::npos) return std::string();
  // Keep a drive colon, drop the separator itself.
  return path.substr(0, path[at] == ':' ? at + 1 : at);
}

std::string FileBaseName(const std::string& path, bool allExtensions, LeadBytePredicate isLead) {
  std::string name = ExtractFileName(path, isLead);
  size_t dot = allExtensions ? name.find('.') : name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}
