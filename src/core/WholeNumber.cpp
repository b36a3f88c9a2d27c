#include "WholeNumber.h"

#include <limits>

#include "PlainText.h"

namespace velmora {

std::optional<int64_t> ParseWholeNumber(std::string_view text) {
  text = WithoutBlanks(text);
  if (text.empty()) return std::nullopt;

  bool negative = false;
  if (text.front() == '-' || text.front() == '+') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;

  // The negative range is one larger than the positive one.
  const uint64_t limit =
      static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
  uint64_t magnitude = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    const auto digit = static_cast<uint64_t>(c - '0');
    if (magnitude > (limit - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  if (!negative) return static_cast<int64_t>(magnitude);
  return magnitude == limit ? std::numeric_limits<int64_t>::min()
                            : -static_cast<int64_t>(magnitude);
}

std::string FormatGeneralNumber(int64_t value) { return std::to_string(value); }

}  // namespace velmora
