#include "TextWrap.h"

#include "PlainText.h"

namespace velmora {

namespace {

bool IsBlank(char c) { return c == ' '; }

// The longest start of text that fits width, never less than one character, so
// that a word wider than the cell still moves on.
std::size_t FittingPrefix(std::string_view text, double width, const TextWidth& widthOf) {
  std::size_t fits = 1;
  while (fits < text.size() && widthOf(text.substr(0, fits + 1)) <= width) ++fits;
  return fits;
}

// The lines of one paragraph (a text without '\n'), each handed to line.
template <typename Line>
void WrapParagraph(std::string_view text, double width, const TextWidth& widthOf, Line line) {
  text = WithoutTrailingBlanks(text);
  if (text.empty()) {
    line(text);
    return;
  }
  while (!text.empty()) {
    if (widthOf(text) <= width) {
      line(text);
      return;
    }
    // The last blank before which the line still fits.
    std::size_t end = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
      if (!IsBlank(text[i]) || IsBlank(text[i - 1])) continue;
      if (widthOf(text.substr(0, i)) > width) break;
      end = i;
    }
    if (end == 0) end = FittingPrefix(text, width, widthOf);
    line(text.substr(0, end));
    text.remove_prefix(end);
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  }
}

template <typename Line>
void Wrap(std::string_view text, double width, const TextWidth& widthOf, Line line) {
  for (;;) {
    const std::size_t newline = text.find('\n');
    WrapParagraph(text.substr(0, newline), width, widthOf, line);
    if (newline == std::string_view::npos) break;
    text.remove_prefix(newline + 1);
  }
}

}  // namespace

std::vector<std::string_view> WrapText(std::string_view text, double width,
                                       const TextWidth& widthOf) {
  std::vector<std::string_view> lines;
  Wrap(text, width, widthOf, [&lines](std::string_view line) { lines.push_back(line); });
  return lines;
}

std::size_t WrappedLineCount(std::string_view text, double width, const TextWidth& widthOf) {
  // Nearly every cell fits on one line: one measure tells.
  if (text.find('\n') == std::string_view::npos && widthOf(text) <= width) return 1;
  std::size_t count = 0;
  Wrap(text, width, widthOf, [&count](std::string_view) { ++count; });
  return count;
}

}  // namespace velmora
