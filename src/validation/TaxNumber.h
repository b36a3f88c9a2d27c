#pragma once

#include <string_view>

namespace velmora {

// Why a tax identification number was refused, in the order the checks run.
enum class AfmCheck { Valid, WrongLength, NotDigits, AllZeros, WrongCheckDigit };

// Nine decimal digits, not all zero, the ninth being the check digit of the first eight.
AfmCheck CheckAFMReason(std::string_view text);
bool CheckAFM(std::string_view text);

// The reason as a UTF-8 text; empty for a valid number.
const char* AfmCheckText(AfmCheck check);

}  // namespace velmora
