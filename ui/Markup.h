#pragma once
// The message box's small markup language and the size of its text, kept apart
// from the window code so both can be checked without a display.
#include <functional>
#include <string>
#include <vector>

// A bold stretch of plain text: [start, end) as 0-based byte offsets, CR LF
// counting as two, the way the rich-edit control counts.
struct BoldRange {
  int start;
  int end;
};
inline bool operator==(const BoldRange& a, const BoldRange& b) { return a.start == b.start && a.end == b.end; }

struct MarkupText {
  std::string text;
  std::vector<BoldRange> bold;
};

// "\\n" -> CR LF, "\\t" -> TAB (exact case), "<P>" -> CR LF, "<T>" -> TAB (any case).
std::string ConvertMarkupBreaks(const std::string& text);

// Breaks as above, then "<B>"..."</B>" pairs (any case) become bold ranges; tags
// that do not pair up are removed without making anything bold.
MarkupText ApplyMarkup(const std::string& text);

struct TextSize {
  int width;
  int height;
};

// Line height of the box font; one pixel more for a face whose line spacing
// otherwise crops descenders.
int MarkupLineHeight(int fontHeight, int externalLeading, const std::string& faceName);

// Space the plain text needs: each line's extent + 10, at most 600 wide; a line
// longer than 600 pixels takes one line height per started 600 pixels.
TextSize MeasureMarkupText(const std::string& plain, int lineHeight,
                           const std::function<int(const std::string& line)>& lineExtent);

// Widening of a text control whose bold runs make it wrap where the plain
// measure did not. resize(width) sets the control's width and returns the size
// the control then asks for. Returns the width to keep.
int FitBoldWidth(int width, int height, const std::function<TextSize(int width)>& resize);
