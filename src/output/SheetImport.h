#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "Cp1253.h"
#include "Sheet.h"
#include "SheetRowRules.h"
#include "Side.h"
#include "SpreadsheetReader.h"

namespace velmora {

// Room for a number's text: 15 significant digits, sign, comma and exponent.
using NumberTextBuffer = std::array<char, 32>;

// A cell's value as text: a text cell as it stands; a number in the general format
// with up to 15 significant digits and the comma as decimal separator (3 gives 3,
// 12.5 gives 12,5, -150.5 gives -150,5; 1E15 and 1E-5 and beyond take an exponent);
// an empty cell gives empty text. UTF-8; a number's text is written into `buffer`,
// so the result lives as long as the buffer and the cell's sheet.
std::string_view CellText(const SheetCell& cell, NumberTextBuffer& buffer);
std::string CellText(const SheetCell& cell);

// A row the import refuses: its number (from 1) and the message naming it. UTF-8.
struct SheetRowProblem {
  int row = 0;
  std::string message;
};

// Why a sheet gave no lines: the first failing row's message, or, with row 0, a
// message about the sheet as a whole (fewer than ten columns). UTF-8.
struct SheetImportRefusal {
  int row = 0;
  std::string message;
  // Every refused row in row order, the first among them; empty when the sheet
  // is refused as a whole.
  std::vector<SheetRowProblem> rows;
};

using SheetImportResult = std::variant<std::vector<Cp1253Text>, SheetImportRefusal>;

// Every row of the sheet as a working line of the side (150 characters, Windows-1253:
// record type stamped, sequence number and filler blank, each of the ten fields from
// its column and cut to its width, the value as the absolute value of column 10 in
// the "0.##" form), or the first refusal. Besides CheckSheetRow, a row is refused
// when a cell of its first ten columns holds a character that Windows-1253 lacks or
// a control character (a line break would split the line), or when its invoice count
// or value does not fit its field: cutting a number would change it.
// Given the side's working lines, a row is refused too when the line checks would
// refuse its line stored after them and the rows before it. Every refused row is
// listed; none gives a line then.
// filerTaxNumber is the filer's tax number box as typed, in Windows-1253.
SheetImportResult SheetToLines(const Sheet& sheet, Side side, std::string_view filerTaxNumber,
                               const std::vector<std::string>* storedLines = nullptr);

// The refused rows as the details of the refusal, a line each; a very long list
// is cut after its first thousand with the number left out.
std::string RefusedRowsText(const std::vector<SheetRowProblem>& rows);

// The whole message shown when a file gives no sheet: the program's opening
// sentence, what went wrong, and which kinds of file the program reads. UTF-8.
std::string SheetReadFailureMessage(const SheetReadFailure& failure);

}  // namespace velmora
