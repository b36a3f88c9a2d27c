#pragma once

#include <string_view>

#include "Sheet.h"

namespace velmora {

// Sets into builder the texts that an .xlsx workbook keeps inside the cells of
// its first worksheet (t="inlineStr", as several exporters write them), which the
// spreadsheet library passes over; a text in formatted runs is joined, its
// phonetic hints left out. Throws when the workbook's parts cannot be read.
void ReadXlsxInlineTexts(std::string_view workbook, SheetBuilder& builder);

}  // namespace velmora
