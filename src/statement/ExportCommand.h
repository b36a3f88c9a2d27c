#pragma once

#include <optional>
#include <string>

#include "Questions.h"
#include "Side.h"
#include "Statement.h"

namespace velmora {

// The kinds the export writes, as the save dialog offers them.
inline constexpr const char* kExportFilter = "Λογιστικό φύλλο Excel (*.xlsx);;Κείμενο CSV (*.csv)";

struct ExportOutcome {
  // The file written; nullopt when the user stopped or the write failed (the
  // user was told why).
  std::optional<std::string> path;
};

// "Εξαγωγή σε υπολογιστικό φύλλο": the pending line stored first, the file
// chosen (an .xlsx workbook, or a .csv text for a name ending so; a name with
// neither gets ".xlsx"), the question before an existing file is replaced, then
// the side's lines written whole in the columns the import reads. The name
// proposed tells the filer and the side ("094019245-ΠΕΛΑΤΕΣ.xlsx").
ExportOutcome ExportLines(Statement& statement, Questions& questions, Side side,
                          const Cp1253Text& filerTaxNumber);

}  // namespace velmora
