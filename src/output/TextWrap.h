#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace velmora {

// How wide a text is, in whatever unit the caller lays out in.
using TextWidth = std::function<double(std::string_view text)>;

// The lines a cell's text takes within width, as a browser wraps a table cell:
// broken at blanks, a '\n' always breaks, and a word wider than the cell alone is
// broken inside. The blanks at a break are dropped; an empty text is one empty line.
std::vector<std::string_view> WrapText(std::string_view text, double width,
                                       const TextWidth& widthOf);

// How many lines WrapText gives, without keeping them.
std::size_t WrappedLineCount(std::string_view text, double width, const TextWidth& widthOf);

}  // namespace velmora
