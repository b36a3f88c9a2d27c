#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The columns of a sheet's row as the import reads them, from 0.
inline constexpr int kSheetObligationColumn = 3;
inline constexpr int kSheetInvoiceCountColumn = 8;
inline constexpr int kSheetValueColumn = 9;

// "Λάθος στη γραμμή N" followed by rest (UTF-8).
std::string SheetRowMessage(int row, std::string_view rest);
// "Λάθος στη γραμμή N του αρχείου: Η στήλη <name> (Νο c) <what>. Διορθώστε ..."
// for column c (from 0).
std::string SheetCellMessage(int row, int column, std::string_view what);

// Optional sign and digits within the signed 32-bit range; blanks around allowed.
bool IsSheetWholeNumber(std::string_view text);
// A number as a spreadsheet writes it (Amount::IsSpreadsheetNumber).
bool IsSheetDecimalNumber(std::string_view text);

// The checks of one row, in their order, on the texts of its first ten cells
// (UTF-8): the obligation code is 0 or 1, the invoice count a whole number, the
// value a decimal number, the tax number valid when the code is 0, and not the
// filer's own. The message names the row (1-based); nullopt when the row passes.
std::optional<std::string> CheckSheetRow(const std::array<std::string_view, 10>& texts,
                                         int rowNumber, std::string_view filerTaxNumberUtf8);

}  // namespace velmora
