#include "TaxNumber.h"

#include "PlainText.h"

namespace velmora {

bool IsValidTaxNumber(std::string_view text) {
  constexpr std::size_t kLength = 9;
  if (text.size() != kLength || !IsAllDigits(text)) return false;
  if (text.find_first_not_of('0') == std::string_view::npos) return false;

  // Weights 256, 128, ..., 2 on the first eight digits.
  int sum = 0;
  for (std::size_t i = 0; i < kLength - 1; ++i) sum += (text[i] - '0') << (kLength - 1 - i);
  // A remainder of 10 asks for the check digit 0.
  const int remainder = sum % 11 % 10;
  return remainder == text[kLength - 1] - '0';
}

}  // namespace velmora
