#pragma once
// Lists: byte strings whose first byte is their separator and which end with
// it ("|a|b|"). Items count from 0; an empty or missing item reads as the
// caller's default. Key=value items are looked up case-insensitively.
#include <cstdint>
#include <string>

class SUB {
 public:
  SUB() = delete;

  static int32_t Count(const std::string& list);
  static bool Contains(const std::string& list, const std::string& item);
  static std::string GetItem(const std::string& list, int32_t index, const std::string& def = "");
  static int32_t GetItemInt(const std::string& list, int32_t index, int32_t def);
  static std::string GetValue(const std::string& list, const std::string& key,
                              const std::string& ifMissing = "", const std::string& ifEmpty = "");
  static std::string Keys(const std::string& list);
  static std::string Values(const std::string& list);
  static void Split(const std::string& list, std::string& keys, std::string& values);
  static std::string Join(const std::string& keys, const std::string& values);
  static std::string DeleteItem(const std::string& list, int32_t index);
  static std::string SetItem(const std::string& list, int32_t index, const std::string& value);
  static std::string Reverse(const std::string& list);
  static std::string TrimEmpty(const std::string& list);
  // `text` starts with a provisional separator (NUL while building); returns
  // it with the first candidate of "|*^!~@#$&" or 0xFF that the text lacks.
  // When every candidate occurs the provisional separator stays, so a built
  // list is never lost. A lone separator comes back empty.
  static std::string ChooseSeparator(const std::string& text);
};
