#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Side.h"

namespace velmora {

// No working file of lines that a statement which can be saved leaves is larger:
// 99,999 lines of 150 characters and their line ends, with room to spare.
inline constexpr std::size_t kMaxWorkingLinesBytes = 16u << 20;
// The header, amounts and form files are a line or a few.
inline constexpr std::size_t kMaxWorkingSmallFileBytes = 64u << 10;

// Why a left-behind working file of a side's lines cannot be taken back (Greek,
// UTF-8), or nullopt when it can: at most 99,999 lines, counted without splitting
// them, each 150 characters of the side's record type, without control characters
// and with an invoice count and a value that read as numbers, as the program
// itself writes them. Lines end at CR, LF or CR LF.
std::optional<std::string> CheckWorkingLines(std::string_view bytes, Side side);

}  // namespace velmora
