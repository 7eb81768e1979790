#pragma once
// Scrambled texts: "Scrambled=01", one key byte k, then the bytes XOR-ed with
// the low 8 bits of i + k at odd positions i and i - k at even ones (i from 1).
#include <string>

// With scramble false (the program's use): the plain text of a scrambled
// text; any other text, and the marker alone, come back unchanged. With
// scramble true: the scrambled form with a key taken from the text. With hex
// form, the bytes after the key are written (or read) as hexadecimal digits.
std::string ScrambleText(const std::string& text, bool scramble, bool hexForm);
// Marker, key and the scrambled bytes of `plain`.
std::string ScrambleWithKey(const std::string& plain, char key);
