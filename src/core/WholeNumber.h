#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// A whole number such as an invoice count: optional surrounding blanks, an
// optional sign and decimal digits (leading zeros allowed). nullopt on anything
// else and on overflow.
std::optional<int64_t> ParseWholeNumber(std::string_view text);

// The general number format of a whole number: plain digits, '-' when negative.
std::string FormatGeneralNumber(int64_t value);

}  // namespace velmora
