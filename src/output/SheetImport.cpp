#include "SheetImport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <utility>

#include "Amount.h"
#include "RecordLayout.h"
#include "SheetRowRules.h"
#include "TwoHalves.h"
#include "TypedLineRun.h"

namespace velmora {

namespace {

constexpr std::string_view kOpeningFailed = "Υπήρξε πρόβλημα κατά το άνοιγμα του αρχείου.";
constexpr std::string_view kKindsRead = " Το πρόγραμμα διαβάζει αρχεία .xls, .xlsx, .ods και .csv.";

constexpr int kImportedColumns = 10;

// The absolute value of a decimal number in the "0.##" form; nullopt when it does
// not fit the 16 characters of the value field.
std::optional<std::string> AbsoluteValueText(std::string_view text) {
  const auto amount = Amount::ParseSpreadsheetNumber(text);
  if (!amount || amount->Cents() == std::numeric_limits<std::int64_t>::min()) return std::nullopt;
  std::string formatted = Amount::FromCents(std::abs(amount->Cents())).FormatShort();
  if (formatted.size() > LineSpan(LineField::Value).width) return std::nullopt;
  return formatted;
}

}  // namespace

std::string_view CellText(const SheetCell& cell, NumberTextBuffer& buffer) {
  switch (cell.kind) {
    case SheetCell::Kind::Empty:
      return {};
    case SheetCell::Kind::Text:
      return cell.text;
    case SheetCell::Kind::Number:
      break;
  }
  if (cell.number == 0) return "0";  // also -0
  // The general format with 15 significant digits, as "%.15g" but free of the
  // locale; then the comma and the spreadsheet's exponent ("1E-5", "1E20").
  std::array<char, 32> raw{};
  const auto [end, error] = std::to_chars(raw.data(), raw.data() + raw.size(), cell.number,
                                          std::chars_format::general, 15);
  if (error != std::errc()) return {};
  std::size_t size = 0;
  for (const char* p = raw.data(); p != end; ++p) {
    char c = *p;
    if (c == '.') c = ',';
    if (c == 'e') {
      buffer[size++] = 'E';
      ++p;
      if (*p == '-') buffer[size++] = '-';
      ++p;
      while (p + 1 != end && *p == '0') ++p;
      for (; p != end; ++p) buffer[size++] = *p;
      break;
    }
    buffer[size++] = c;
  }
  return std::string_view(buffer.data(), size);
}

std::string CellText(const SheetCell& cell) {
  NumberTextBuffer buffer;
  return std::string(CellText(cell, buffer));
}

namespace {

// The ten cells of a row written into a working line; the message of the first
// cell that cannot be, else nullopt.
std::optional<std::string> WriteRowCells(const std::array<std::string_view, 10>& texts,
                                         int rowNumber, std::string& line, std::string& offending) {
  for (int column = 0; column < kImportedColumns; ++column) {
    const LineField field = kTypedLineFields[static_cast<std::size_t>(column)];
    const ColumnSpan span = LineSpan(field);
    std::string_view text = texts[static_cast<std::size_t>(column)];
    std::optional<std::string> value;
    if (column == kSheetValueColumn) {
      value = AbsoluteValueText(text);
      if (!value) {
        return SheetCellMessage(rowNumber, column,
                                "έχει τιμή που δεν χωράει στο πεδίο της (16 χαρακτήρες)");
      }
      text = *value;
    } else if (column == kSheetInvoiceCountColumn && text.size() > span.width) {
      return SheetCellMessage(rowNumber, column, "έχει περισσότερους από 7 χαρακτήρες");
    }
    switch (EncodeCp1253Into(text, line.data() + span.offset, span.width, offending)) {
      case Cp1253Fit::Fits:
        break;
      case Cp1253Fit::Unrepresentable:
        return SheetCellMessage(rowNumber, column,
                                "περιέχει τον χαρακτήρα «" + offending +
                                    "», που δεν υπάρχει στην ελληνική κωδικοσελίδα Windows-1253");
      case Cp1253Fit::ControlCharacter:
        return SheetCellMessage(rowNumber, column,
                                "περιέχει αλλαγή γραμμής ή άλλο χαρακτήρα ελέγχου");
    }
  }
  return std::nullopt;
}

// Rows beginRow up to endRow as working lines, one for each row (empty for a
// refused row), and every refused row.
struct ConvertedRows {
  std::vector<Cp1253Text> lines;
  std::vector<SheetRowProblem> refused;
  // When asked for, whether each line passes the line checks on its own
  // (CheckLineAlone): made here, while the line is at hand and on two threads.
  std::vector<bool> acceptedAlone;
};

// alone: the input of the line checks on their own (side, filer), or null.
ConvertedRows RowsToLines(const Sheet& sheet, int beginRow, int endRow, Side side,
                          std::string_view filerTaxNumberUtf8, LineCheckInput* alone) {
  ConvertedRows converted;
  converted.lines.reserve(static_cast<std::size_t>(endRow - beginRow));
  if (alone) converted.acceptedAlone.reserve(converted.lines.capacity());
  std::array<NumberTextBuffer, kImportedColumns> buffers;
  std::array<SheetCell, kImportedColumns> cells;
  std::array<std::string_view, kImportedColumns> texts;
  std::string offending;
  for (int row = beginRow; row < endRow; ++row) {
    const int rowNumber = row + 1;
    sheet.RowCells(row, cells);
    for (std::size_t column = 0; column < kImportedColumns; ++column)
      texts[column] = CellText(cells[column], buffers[column]);
    std::string line(kRecordLength, ' ');
    line[LineSpan(LineField::RecordType).offset] = LineRecordType(side);
    auto refusal = CheckSheetRow(texts, rowNumber, filerTaxNumberUtf8);
    if (!refusal) refusal = WriteRowCells(texts, rowNumber, line, offending);
    if (refusal) {
      converted.refused.push_back({rowNumber, std::move(*refusal)});
      line.clear();
    } else if (alone) {
      ReadCheckedFields(line, *alone);
    }
    if (alone) converted.acceptedAlone.push_back(!refusal && CheckLineAlone(*alone).accepted);
    converted.lines.emplace_back(std::move(line));
  }
  return converted;
}

// The rows that the line checks would refuse when stored after the side's
// stored lines, as if typed one after the other; refused rows are left out.
void AddLineCheckRefusals(const std::vector<Cp1253Text>& lines,
                          const std::vector<bool>& acceptedAlone, Side side,
                          std::string_view filerTaxNumber,
                          const std::vector<std::string>& storedLines,
                          std::vector<SheetRowProblem>& refused) {
  TypedLineRun run(side, filerTaxNumber, storedLines.size() + lines.size());
  for (const std::string& stored : storedLines) run.AddStored(stored);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i + 8 < lines.size()) run.Prefetch(lines[i + 8].view());
    if (lines[i].empty()) continue;
    const auto refusal = run.Refusal(lines[i].view(), acceptedAlone[i]);
    if (!refusal) {
      run.AddStored(lines[i].view());
      continue;
    }
    const int rowNumber = static_cast<int>(i) + 1;
    std::string message = SheetRowMessage(rowNumber, " του αρχείου: ");
    message += refusal->message;
    refused.push_back({rowNumber, std::move(message)});
  }
}

}  // namespace

SheetImportResult SheetToLines(const Sheet& sheet, Side side, std::string_view filerTaxNumber,
                               const std::vector<std::string>* storedLines) {
  if (sheet.RowCount() == 0) {
    return SheetImportRefusal{0, SheetReadFailureMessage({SheetReadFailure::Reason::Empty}), {}};
  }
  if (sheet.ColumnCount() < kImportedColumns) {
    std::string message(kOpeningFailed);
    message +=
        " Τα στοιχεία του πρώτου φύλλου εργασίας πρέπει να φτάνουν τουλάχιστον ως τη στήλη 10 "
        "(J).";
    message += kKindsRead;
    return SheetImportRefusal{0, std::move(message), {}};
  }
  const std::string filerTaxNumberUtf8 = Cp1253ToUtf8(filerTaxNumber);

  // Each row is converted on its own, so a large sheet is shared with a second
  // thread; the halves are joined in row order.
  const auto rows = static_cast<std::size_t>(sheet.RowCount());
  ConvertedRows first, second;
  InTwoHalves(rows, [&](std::size_t begin, std::size_t end) {
    LineCheckInput alone{side, {}, {}, {}, {}, std::string(filerTaxNumber), true};
    (begin == 0 ? first : second) =
        RowsToLines(sheet, static_cast<int>(begin), static_cast<int>(end), side, filerTaxNumberUtf8,
                    storedLines ? &alone : nullptr);
  });
  std::vector<Cp1253Text>& lines = first.lines;
  lines.reserve(lines.size() + second.lines.size());
  std::move(second.lines.begin(), second.lines.end(), std::back_inserter(lines));
  std::vector<SheetRowProblem>& refused = first.refused;
  std::move(second.refused.begin(), second.refused.end(), std::back_inserter(refused));
  std::vector<bool>& acceptedAlone = first.acceptedAlone;
  acceptedAlone.insert(acceptedAlone.end(), second.acceptedAlone.begin(),
                       second.acceptedAlone.end());

  const auto rowRefusals = refused.size();
  if (storedLines)
    AddLineCheckRefusals(lines, acceptedAlone, side, filerTaxNumber, *storedLines, refused);
  if (refused.empty()) return std::move(lines);
  std::inplace_merge(
      refused.begin(), refused.begin() + static_cast<std::ptrdiff_t>(rowRefusals), refused.end(),
      [](const SheetRowProblem& a, const SheetRowProblem& b) { return a.row < b.row; });
  SheetImportRefusal refusal{refused.front().row, refused.front().message, {}};
  refusal.rows = std::move(refused);
  return refusal;
}

std::string RefusedRowsText(const std::vector<SheetRowProblem>& rows) {
  constexpr std::size_t kListed = 1000;
  std::string text;
  for (std::size_t i = 0; i < rows.size() && i < kListed; ++i) (text += rows[i].message) += '\n';
  if (rows.size() > kListed) {
    text += "… και ακόμη " + std::to_string(rows.size() - kListed) + " γραμμές με λάθη.\n";
  }
  return text;
}

std::string SheetReadFailureMessage(const SheetReadFailure& failure) {
  using Reason = SheetReadFailure::Reason;
  if (failure.reason == Reason::FormulaWithoutResult) {
    const int column = failure.column >= 1 ? failure.column : 1;
    std::string message = SheetRowMessage(failure.row, " του αρχείου: Το κελί της στήλης ");
    message += std::to_string(column);
    message +=
        " έχει τύπο χωρίς αποθηκευμένο αποτέλεσμα. Ανοίξτε το αρχείο στο πρόγραμμα όπου "
        "φτιάχτηκε, αποθηκεύστε το ξανά και επαναλάβετε την εισαγωγή.";
    return message;
  }
  std::string message(kOpeningFailed);
  switch (failure.reason) {
    case Reason::CannotRead:
      message += " Το αρχείο δεν διαβάζεται: " + failure.systemReason + ".";
      break;
    case Reason::ReaderMissing:
      message += " Λείπει το βοηθητικό πρόγραμμα που διαβάζει τα αρχεία .xls (" +
                 failure.systemReason + "). Εγκαταστήστε ξανά το πρόγραμμα.";
      break;
    case Reason::NotASpreadsheet:
      message += " Το αρχείο δεν είναι λογιστικό φύλλο.";
      break;
    case Reason::Damaged:
      message += " Το αρχείο είναι κατεστραμμένο ή ελλιπές.";
      break;
    case Reason::PasswordProtected:
      message +=
          " Το αρχείο προστατεύεται με κωδικό πρόσβασης. Αποθηκεύστε το χωρίς κωδικό και "
          "επαναλάβετε την εισαγωγή.";
      break;
    case Reason::Empty:
      message += " Το πρώτο φύλλο εργασίας του αρχείου είναι κενό.";
      break;
    case Reason::TooLarge:
      message += " Το αρχείο είναι πολύ μεγάλο για εισαγωγή.";
      break;
    case Reason::FormulaWithoutResult:
      break;
  }
  message += kKindsRead;
  return message;
}

}  // namespace velmora
