#pragma once

#include <string_view>

#include "SpreadsheetReader.h"

namespace velmora {

enum class OrcusFormat { Xlsx, Ods };

// The first worksheet of an .xlsx or .ods file held whole in memory. The caller has
// checked the archive (CheckZipArchive) first.
SheetReadResult ReadOrcusSheet(std::string_view bytes, OrcusFormat format);

}  // namespace velmora
