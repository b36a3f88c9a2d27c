#pragma once

#include <string>
#include <variant>

#include "Sheet.h"

namespace velmora {

// Why a spreadsheet file gave no sheet.
struct SheetReadFailure {
  enum class Reason {
    CannotRead,       // the system refused to read the file; systemReason says why
    NotASpreadsheet,  // none of the kinds of file the program reads
    Damaged,          // the right kind, but broken or cut short
    PasswordProtected,
    Empty,     // the first worksheet holds no value at all
    TooLarge,  // beyond the limits of SheetBuilder or of the archive check
    FormulaWithoutResult,
  };
  SheetReadFailure() = default;
  SheetReadFailure(Reason why) : reason(why) {}  // NOLINT: a reason is a failure

  Reason reason = Reason::Damaged;
  std::string systemReason;
  // FormulaWithoutResult: the first such cell, 1-based.
  int row = 0;
  int column = 0;
};

using SheetReadResult = std::variant<Sheet, SheetReadFailure>;

// The first worksheet of an .xlsx, .ods, .xls or .csv file. The kind is taken from
// the file's first bytes (a ZIP archive, an OLE2 compound file) and, for a file
// without either, from its extension: .csv and .txt are read as text separated by
// ';' or ','. A formula cell gives the result stored with it. Any broken or hostile
// file ends in a failure, never in a crash, an unbounded allocation or a hang.
SheetReadResult ReadFirstSheet(const std::string& path);

}  // namespace velmora
