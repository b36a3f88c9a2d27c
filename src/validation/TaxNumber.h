#pragma once

#include <string_view>

namespace velmora {

// A Greek tax identification number: nine decimal digits, not all zero, the
// ninth being the check digit of the first eight.
bool IsValidTaxNumber(std::string_view text);

}  // namespace velmora
