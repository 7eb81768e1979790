#include "ui/Markup.h"

#include <algorithm>

#include "util/Text.h"

std::string ConvertMarkupBreaks(const std::string& text) {
  std::string s = ReplaceText(text, "\\\\n", "\r\n");
  s = ReplaceText(s, "\\\\t", "\t");
  s = ReplaceTextCI(s, "<P>", "\r\n");
  return ReplaceTextCI(s, "<T>", "\t");
}

MarkupText ApplyMarkup(const std::string& text) {
  MarkupText out;
  std::string& s = out.text;
  s = ConvertMarkupBreaks(text);
  // A message may start with a literal "<" before its bold heading.
  if (s.compare(0, 4, "<<b>") == 0) s.erase(0, 1);

  // Tags are found in an upper-case twin so "<b>" and "<B>" are the same tag;
  // every deletion is made in both so positions stay aligned.
  std::string upper = UpperCaseASCII(s);
  for (;;) {
    const size_t open = upper.find("<B>");
    if (open == std::string::npos) break;
    s.erase(open, 3);
    upper.erase(open, 3);
    const size_t close = upper.find("</B>");
    if (close == std::string::npos || close < open) continue;
    s.erase(close, 4);
    upper.erase(close, 4);
    out.bold.push_back({static_cast<int>(open), static_cast<int>(close)});
  }
  s = ReplaceTextCI(s, "</B>", "");

  // Ranges recorded before a later pair was removed (nested tags) may reach
  // past the end; keep them inside the text.
  const int len = static_cast<int>(s.size());
  for (BoldRange& r : out.bold) {
    r.start = std::min(r.start, len);
    r.end = std::min(r.end, len);
  }
  return out;
}

int MarkupLineHeight(int fontHeight, int externalLeading, const std::string& faceName) {
  return fontHeight + externalLeading + (SameTextCI(Trim(faceName), "MS PGothic") ? 1 : 0);
}

TextSize MeasureMarkupText(const std::string& plain, int lineHeight,
                           const std::function<int(const std::string& line)>& lineExtent) {
  const std::string text = plain.empty() ? std::string(" ") : plain;
  TextSize size{0, 0};
  size_t from = 0;
  for (;;) {
    const size_t brk = text.find("\r\n", from);
    const bool last = brk == std::string::npos;
    const std::string line = text.substr(from, last ? std::string::npos : brk - from);
    if (last && line.empty()) break;
    const int extent = lineExtent(line);
    size.width = std::max(size.width, extent + 10);
    size.height += (extent / 600 + 1) * lineHeight;
    if (last) break;
    from = brk + 2;
  }
  size.width = std::min(size.width, 600);
  return size;
}

int FitBoldWidth(int width, int height, const std::function<TextSize(int width)>& resize) {
  int widest = width;
  for (int i = 0; i <= 20; ++i) {
    const int tried = width + 10 * i;
    const TextSize asked = resize(tried);
    if (asked.height <= height) return tried;
    widest = std::max(widest, asked.width);
  }
  resize(widest + 10);
  return widest + 10;
}
