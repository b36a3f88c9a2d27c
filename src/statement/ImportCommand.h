#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Questions.h"
#include "Side.h"
#include "Statement.h"

namespace velmora {

inline constexpr const char* kImportQuestion =
    "Θέλετε να εισάγετε τιμολόγια Πελατών ή Προμηθευτών;";
// The answers, in the order of their buttons.
inline constexpr const char* kImportCustomers = "Πελατών";
inline constexpr const char* kImportSuppliers = "Προμ/τών";
inline constexpr const char* kImportCancel = "Ακύρωση";
inline constexpr const char* kImportInterrupted =
    "Παρουσιάστηκαν σφάλματα κατά την εισαγωγή των στοιχείων. Η εισαγωγή διακόπηκε";
// Files saved on Windows often carry their extension in capitals, and the file
// dialog matches names with the case they have.
inline constexpr const char* kSpreadsheetFilter =
    "Λογιστικά φύλλα (*.xls *.xlsx *.ods *.csv *.XLS *.XLSX *.ODS *.CSV)";

// Whether a file's name says it is a sheet the import reads (.xls, .xlsx, .ods,
// .csv, in any case of letters).
bool IsSpreadsheetFileName(std::string_view path);

// Why an import is refused whole: its lines would take the side past 99,999 lines.
std::string ImportOverLimitMessage(Side side, std::size_t sheetLines, std::size_t sideLines);

struct ImportOutcome {
  // The side whose page goes on view: lines were stored there, or the line that
  // was refused waits there to be corrected. Unset when nothing changed.
  std::optional<Side> changedSide;
  std::size_t linesStored = 0;
};

// "Εισαγωγή στοιχείων από Excel": the pending lines stored first, the side asked,
// the file chosen, the first worksheet read and every row checked, by the sheet's
// rules and as a typed line is after the side's lines and the rows before it. Any
// refused row stops the import before anything is stored: the first is named, and
// every one is listed in the message's details. Then the rows are stored after the
// side's lines in sheet order. A line refused there all the same stops the
// import: the lines before it stay, it stays pending, and the user is told both
// why and that the import stopped. A file given (one dropped on the window) is
// read instead of one chosen in the dialog.
ImportOutcome ImportSpreadsheet(Statement& statement, Questions& questions,
                                const std::optional<std::string>& givenPath = std::nullopt);

}  // namespace velmora
