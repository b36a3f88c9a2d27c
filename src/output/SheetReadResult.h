#pragma once

#include <string>
#include <variant>

#include "Sheet.h"

namespace velmora {

// Why a spreadsheet file gave no sheet.
struct SheetReadFailure {
  enum class Reason {
    CannotRead,       // the system refused to read the file; systemReason says why
    ReaderMissing,    // the helper that reads .xls workbooks could not be started
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

}  // namespace velmora
