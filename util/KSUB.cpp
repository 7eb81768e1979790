#include "util/KSUB.h"

#include <algorithm>
#include <vector>

#include "util/Text.h"

namespace {

const char kNul = '\0';

std::string KeyOf(const std::string& item) { return LeftOf(item, "=", ""); }
std::string ValueOf(const std::string& item) { return RightOf(item, "=", ""); }

// The items that SUB::Count counts, in one pass.
std::vector<std::string> ItemsOf(const std::string& list) {
  std::vector<std::string> items;
  if (SUB::Count(list) == 0) return items;
  for (size_t start = 1, end; (end = list.find(list[0], start)) != std::string::npos; start = end + 1)
    items.push_back(list.substr(start, end - start));
  return items;
}

// Provisional NUL-separated list of f(item) for every item.
template <class F>
std::string MapItems(const std::string& list, F f) {
  std::string built(1, kNul);
  for (const std::string& item : ItemsOf(list)) built += f(item) + kNul;
  return SUB::ChooseSeparator(built);
}

}  // namespace

int32_t SUB::Count(const std::string& list) {
  if (list.size() < 2 || list.front() != list.back()) return 0;
  return int32_t(std::count(list.begin() + 1, list.end(), list.front()));
}

bool SUB::Contains(const std::string& list, const std::string& item) {
  std::string l = Trim(list), it = Trim(item);
  if (l.empty() || it.empty()) return false;
  return PosCI(l[0] + it + l[0], l) > 0;
}

std::string SUB::GetItem(const std::string& list, int32_t index, const std::string& def) {
  if (list.empty() || list == std::string(1, kNul) || index < 0) return def;
  const char sep = list[0];
  size_t start = 1;
  for (int32_t i = 0;; ++i) {
    size_t end = list.find(sep, start);
    if (end == std::string::npos) return def;  // no closing separator
    if (i == index) return end == start ? def : list.substr(start, end - start);
    start = end + 1;
  }
}

int32_t SUB::GetItemInt(const std::string& list, int32_t index, int32_t def) {
  return TextToInt32(GetItem(list, index), def);
}

std::string SUB::GetValue(const std::string& list, const std::string& key, const std::string& ifMissing,
                          const std::string& ifEmpty) {
  if (list.size() <= 2 || list.front() != list.back()) return ifMissing;
  const std::string s(1, list[0]);
  std::string search = s + key;
  if (search.back() != '=') search += '=';
  // Tolerate one blank after the separator and one before the '='.
  std::string work = ReplaceText(ReplaceText(list, s + " ", s), " =", "=");
  int at = PosCI(search, work);
  if (at == 0) return ifMissing;
  std::string value = work.substr(at - 1 + search.size());
  value = value.substr(0, value.find(s[0]));
  return value.empty() ? ifEmpty : value;
}

std::string SUB::Keys(const std::string& list) { return MapItems(list, KeyOf); }

std::string SUB::Values(const std::string& list) { return MapItems(list, ValueOf); }

void SUB::Split(const std::string& list, std::string& keys, std::string& values) {
  keys = Keys(list);
  values = Values(list);
}

std::string SUB::Join(const std::string& keys, const std::string& values) {
  std::vector<std::string> k = ItemsOf(TrimEmpty(keys)), v = ItemsOf(TrimEmpty(values));
  std::string built(1, kNul);
  for (size_t i = 0, n = std::max(k.size(), v.size()); i < n; ++i)
    built += (i < k.size() ? k[i] : "") + "=" + (i < v.size() ? v[i] : "") + kNul;
  return ChooseSeparator(built);
}

std::string SUB::DeleteItem(const std::string& list, int32_t index) {
  if (list.empty() || index >= Count(list)) return list;
  const char sep = list[0];
  std::string r(1, sep);
  std::vector<std::string> items = ItemsOf(list);
  for (size_t i = 0; i < items.size(); ++i)
    if (int64_t(i) != index) r += items[i] + sep;
  return r;
}

std::string SUB::SetItem(const std::string& list, int32_t index, const std::string& value) {
  const std::string l = list.empty() ? "|" : list;
  const char sep = l[0];
  std::vector<std::string> items = ItemsOf(l);
  std::string built(1, kNul);
  for (size_t i = 0; i < items.size(); ++i) built += (int64_t(i) == index ? value : items[i]) + kNul;
  if (index >= 0 && size_t(index) >= items.size())  // grow with empty items
    built += std::string(size_t(index) - items.size(), kNul) + value + kNul;
  if (built.find(sep) != std::string::npos) return ChooseSeparator(built);
  return ReplaceChar(built, kNul, sep);
}

std::string SUB::Reverse(const std::string& list) {
  if (list.empty()) return list;
  const char sep = list[0];
  std::string r(1, sep);
  std::vector<std::string> items = ItemsOf(list);
  for (auto it = items.rbegin(); it != items.rend(); ++it) r += *it + sep;
  return r;
}

std::string SUB::TrimEmpty(const std::string& list) {
  // A list with items starts and ends with its separator, so an empty last
  // item is a doubled separator at the end; deleting it drops one byte.
  std::string r(list);
  if (Count(r) == 0) return r;
  while (r.size() >= 2 && r[r.size() - 2] == r[0]) r.pop_back();
  return r;
}

std::string SUB::ChooseSeparator(const std::string& text) {
  if (text.empty()) return text;
  static const char kCandidates[] = {'|', '*', '^', '!', '~', '@', '#', '$', '&', char(0xFF)};
  std::string r(text);
  for (char c : kCandidates)
    if (text.find(c) == std::string::npos) {
      r = ReplaceChar(text, text[0], c);
      break;
    }
  return r.size() == 1 ? std::string() : r;
}
