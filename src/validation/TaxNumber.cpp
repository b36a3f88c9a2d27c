#include "TaxNumber.h"

namespace velmora {

AfmCheck CheckAFMReason(std::string_view text) {
  constexpr std::size_t kLength = 9;
  if (text.size() != kLength) return AfmCheck::WrongLength;
  for (const char c : text) {
    if (c < '0' || c > '9') return AfmCheck::NotDigits;
  }
  if (text.find_first_not_of('0') == std::string_view::npos) return AfmCheck::AllZeros;

  // Weights 256, 128, ..., 2 on the first eight digits.
  int sum = 0;
  for (std::size_t i = 0; i < kLength - 1; ++i) sum += (text[i] - '0') << (kLength - 1 - i);
  // A remainder of 10 asks for the check digit 0.
  const int remainder = sum % 11 % 10;
  return remainder == text[kLength - 1] - '0' ? AfmCheck::Valid : AfmCheck::WrongCheckDigit;
}

bool CheckAFM(std::string_view text) { return CheckAFMReason(text) == AfmCheck::Valid; }

const char* AfmCheckText(AfmCheck check) {
  switch (check) {
    case AfmCheck::Valid:
      return "";
    case AfmCheck::WrongLength:
      return "Έχετε δώσει λανθασμένο ΑΦΜ: Ο ΑΦΜ πρέπει να έχει 9 ψηφία.";
    case AfmCheck::AllZeros:
      return "Έχετε δώσει λανθασμένο ΑΦΜ: Ο ΑΦΜ δεν μπορεί να αποτελείται μόνο από 0";
    case AfmCheck::NotDigits:
    case AfmCheck::WrongCheckDigit:
      break;
  }
  return "Έχετε δώσει λανθασμένο ΑΦΜ";
}

}  // namespace velmora
