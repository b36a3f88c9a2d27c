#pragma once

#include <atomic>
#include <string>

#include "SheetReadResult.h"

namespace velmora {

// The first worksheet of an .xls workbook, read by FreeXL in a helper process
// (velmora-xls-reader, beside the executable or in <prefix>/libexec/velmora).
// FreeXL has been seen to read past its own buffers on damaged files; in a process
// of its own, such a file costs a refusal as damaged and nothing else. The helper
// reports its cells as it reads them (SheetReport, SharedReport), and this process
// builds the sheet from them meanwhile. A helper that does not answer within two
// minutes is stopped.
// The helper is killed as soon as stop (when given) becomes true.
SheetReadResult ReadXlsSheetInHelper(const std::string& path,
                                     const std::atomic<bool>* stop = nullptr);

}  // namespace velmora
