#pragma once

#include <string_view>

namespace velmora {

// The most rows and columns a worksheet of an .ods can have; the library that
// reads the file loops over every repeated cell, so a larger repeat count is a
// file made to hang the program.
inline constexpr long long kMaxOdsRows = 1'048'576;
inline constexpr long long kMaxOdsColumns = 16'384;

// False when the content of an .ods workbook repeats a row or a cell past those
// limits ("table:number-rows-repeated", "table:number-columns-repeated"); checked
// before the workbook is read. Throws when the content cannot be taken out.
bool OdsRepeatsWithinLimits(std::string_view workbook);

}  // namespace velmora
