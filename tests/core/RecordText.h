#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace velmora::test {

// Pieces for writing expected records by hand.
inline std::string Pad(std::string_view text, std::size_t width) {
  std::string padded(text);
  padded.resize(width, ' ');
  return padded;
}

inline std::string Blanks(std::size_t count) { return std::string(count, ' '); }

inline std::string Cat(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (const std::string_view piece : pieces) text += piece;
  return text;
}

}  // namespace velmora::test
