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
#include "TaxNumber.h"
#include "TwoHalves.h"
#include "TypedLineRun.h"
#include "WholeNumber.h"

namespace velmora {

namespace {

constexpr std::string_view kRowLead = "Λάθος στη γραμμή ";
// What follows the row number in the row messages.
constexpr std::string_view kObligationNotZeroOrOne =
    " του αρχείου: Η στήλη Υπόχρεος (Νο 4) πρέπει να έχει τιμή 0 ή 1. Διορθώστε το για να "
    "προχωρήσετε στην εισαγωγή.";
constexpr std::string_view kInvoiceCountNotWhole =
    " του αρχείου: Η στήλη Αριθμός Τιμολογίων (Νο 9) πρέπει να έχει ακέραια τιμή. Διορθώστε το για "
    "να προχωρήσετε στην εισαγωγή.";
constexpr std::string_view kValueNotANumber =
    " του αρχείου: Η στήλη Αξία (Νο 10) πρέπει να είναι αριθμός (η υποδιαστολή είναι το κόμμα). "
    "Διορθώστε το για να προχωρήσετε στην εισαγωγή.";
constexpr std::string_view kTaxNumberInvalid =
    " του αρχείου: H στήλη ΑΦΜ (Νο 1) δεν περιέχει αποδεκτό ΑΦΜ. Διορθώστε το για να προχωρήσετε "
    "στην εισαγωγή.";
constexpr std::string_view kTaxNumberIsFilers =
    " του αρχείου: Το ΑΦΜ (στήλη Νο 1) είναι ίδιο με το ΑΦΜ του Υπόχρεου. Διορθώστε το για να "
    "προχωρήσετε στην εισαγωγή.";
constexpr std::string_view kRowTail = " Διορθώστε το για να προχωρήσετε στην εισαγωγή.";

constexpr std::string_view kOpeningFailed = "Υπήρξε πρόβλημα κατά το άνοιγμα του αρχείου.";
constexpr std::string_view kKindsRead = " Το πρόγραμμα διαβάζει αρχεία .xls, .xlsx, .ods και .csv.";

// The columns as the row messages name them.
constexpr std::array<std::string_view, 10> kColumnNames = {
    "ΑΦΜ",  "Επωνυμία", "Επάγγελμα", "Υπόχρεος",           "Πόλη",
    "Οδός", "Αριθμός",  "ΤΚ",        "Αριθμός Τιμολογίων", "Αξία"};

constexpr int kObligationColumn = 3;
constexpr int kInvoiceCountColumn = 8;
constexpr int kValueColumn = 9;
constexpr int kImportedColumns = 10;

std::string RowMessage(int row, std::string_view rest) {
  std::string message(kRowLead);
  message += std::to_string(row);
  message += rest;
  return message;
}

// "Λάθος στη γραμμή N του αρχείου: Η στήλη <name> (Νο c) <what>. Διορθώστε ..."
std::string CellMessage(int row, int column, std::string_view what) {
  std::string message = RowMessage(row, " του αρχείου: Η στήλη ");
  message += kColumnNames[static_cast<std::size_t>(column)];
  message += " (Νο ";
  message += std::to_string(column + 1);
  message += ") ";
  message += what;
  message += '.';
  message += kRowTail;
  return message;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  return at;
}

// The parts of a decimal number: sign, digits (the point after `point` of them)
// and the exponent, saturated far beyond any amount.
struct DecimalParts {
  bool negative = false;
  std::string_view wholeDigits, fractionDigits;
  long exponent = 0;
};

std::optional<DecimalParts> SplitDecimal(std::string_view text) {
  text = TrimBlanks(text);
  DecimalParts parts;
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) parts.negative = text[at++] == '-';
  std::size_t end = SkipDigits(text, at);
  parts.wholeDigits = text.substr(at, end - at);
  at = end;
  if (at < text.size() && text[at] == ',') {
    end = SkipDigits(text, ++at);
    parts.fractionDigits = text.substr(at, end - at);
    at = end;
  }
  if (parts.wholeDigits.empty() && parts.fractionDigits.empty()) return std::nullopt;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    bool negativeExponent = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
      negativeExponent = text[at++] == '-';
    }
    end = SkipDigits(text, at);
    if (end == at) return std::nullopt;
    for (; at < end; ++at)
      parts.exponent = std::min(parts.exponent * 10 + (text[at] - '0'), 100000L);
    if (negativeExponent) parts.exponent = -parts.exponent;
  }
  if (at != text.size()) return std::nullopt;
  return parts;
}

// The absolute value of a decimal number in the "0.##" form; nullopt when it does
// not fit the 16 characters of the value field.
std::optional<std::string> AbsoluteValueText(std::string_view text) {
  if (text.find_first_of("eE") == std::string_view::npos) {
    // The common case needs no shifting of the comma.
    const auto amount = Amount::Parse(text);
    if (!amount || amount->Cents() == std::numeric_limits<std::int64_t>::min()) {
      return std::nullopt;
    }
    std::string formatted = Amount::FromCents(std::abs(amount->Cents())).FormatShort();
    if (formatted.size() > LineSpan(LineField::Value).width) return std::nullopt;
    return formatted;
  }
  const auto parts = SplitDecimal(text);
  if (!parts) return std::nullopt;
  std::string digits(parts->wholeDigits);
  digits += parts->fractionDigits;
  const auto firstSignificant = digits.find_first_not_of('0');
  if (firstSignificant == std::string::npos) return "0";
  // Where the comma falls among the digits once the exponent has moved it.
  const long point = static_cast<long>(parts->wholeDigits.size()) + parts->exponent;
  const long significantPoint = point - static_cast<long>(firstSignificant);
  constexpr long kWidestWhole = 16;
  if (significantPoint > kWidestWhole) return std::nullopt;
  if (significantPoint < -3) return "0";  // rounds to 0 at the second decimal
  std::string plain;
  if (point <= 0) {
    plain = "0,";
    plain.append(static_cast<std::size_t>(-point), '0');
    plain += digits;
  } else if (point >= static_cast<long>(digits.size())) {
    plain = digits;
    plain.append(static_cast<std::size_t>(point) - digits.size(), '0');
  } else {
    plain = digits.substr(0, static_cast<std::size_t>(point));
    plain += ',';
    plain += digits.substr(static_cast<std::size_t>(point));
  }
  const auto amount = Amount::Parse(plain);
  if (!amount) return std::nullopt;
  std::string formatted = amount->FormatShort();
  if (formatted.size() > LineSpan(LineField::Value).width) return std::nullopt;
  return formatted;
}

// The code page's bytes of the Greek block, U+0370 to U+03FF, made once.
constexpr char32_t kGreekFirst = 0x370;
constexpr char32_t kGreekEnd = 0x400;
const std::array<std::optional<unsigned char>, kGreekEnd - kGreekFirst>& GreekBytes() {
  static const auto greek = [] {
    std::array<std::optional<unsigned char>, kGreekEnd - kGreekFirst> table{};
    for (char32_t c = kGreekFirst; c < kGreekEnd; ++c) table[c - kGreekFirst] = UnicodeToCp1253(c);
    return table;
  }();
  return greek;
}

// The code page's byte of a non-ASCII code point; the Greek letters, which most
// cells hold, come from a table made once instead of a search per letter.
std::optional<unsigned char> GreekOrOtherToCp1253(char32_t code) {
  if (code >= kGreekFirst && code < kGreekEnd) return GreekBytes()[code - kGreekFirst];
  return UnicodeToCp1253(code);
}

enum class Encoding { Fits, Unrepresentable, ControlCharacter };
Encoding WriteCp1253(std::string_view utf8, char* out, std::size_t width, std::string& offending) {
  const auto& greek = GreekBytes();
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  std::size_t written = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = bytes[i];
    // The two common cases first: a printable ASCII character, and a Greek letter
    // (two bytes led by CE or CF).
    if (lead >= 0x20 && lead < 0x7F) {
      if (written < width) out[written++] = static_cast<char>(lead);
      ++i;
      continue;
    }
    if ((lead == 0xCE || lead == 0xCF) && i + 1 < utf8.size() && (bytes[i + 1] & 0xC0) == 0x80) {
      const char32_t code = static_cast<char32_t>((lead & 0x1F) << 6 | (bytes[i + 1] & 0x3F));
      const auto byte = greek[code - kGreekFirst];
      if (!byte) {
        offending = utf8.substr(i, 2);
        return Encoding::Unrepresentable;
      }
      if (written < width) out[written++] = static_cast<char>(*byte);
      i += 2;
      continue;
    }
    char32_t code = lead;
    std::size_t length = 1;
    if (lead >= 0x80) {
      length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
      if (length == 0 || i + length > utf8.size()) {
        offending = "\xEF\xBF\xBD";
        return Encoding::Unrepresentable;
      }
      code = lead & (0x7F >> length);
      for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(utf8[i + k]);
        if ((next & 0xC0) != 0x80) {
          offending = "\xEF\xBF\xBD";
          return Encoding::Unrepresentable;
        }
        code = code << 6 | (next & 0x3F);
      }
    }
    if (code < 0x20 || code == 0x7F) return Encoding::ControlCharacter;
    const auto byte = code < 0x80 ? std::optional<unsigned char>(static_cast<unsigned char>(code))
                                  : GreekOrOtherToCp1253(code);
    if (!byte) {
      offending = utf8.substr(i, length);
      return Encoding::Unrepresentable;
    }
    if (written < width) out[written++] = static_cast<char>(*byte);
    i += length;
  }
  return Encoding::Fits;
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

bool IsSheetWholeNumber(std::string_view text) {
  const auto value = ParseWholeNumber(text);
  return value && *value >= std::numeric_limits<std::int32_t>::min() &&
         *value <= std::numeric_limits<std::int32_t>::max();
}

bool IsSheetDecimalNumber(std::string_view text) { return SplitDecimal(text).has_value(); }

std::optional<std::string> CheckSheetRow(const std::array<std::string_view, 10>& texts,
                                         int rowNumber, std::string_view filerTaxNumberUtf8) {
  const std::string_view obligation = texts[kObligationColumn];
  if (obligation != "0" && obligation != "1") {
    return RowMessage(rowNumber, kObligationNotZeroOrOne);
  }
  if (!IsSheetWholeNumber(texts[kInvoiceCountColumn])) {
    return RowMessage(rowNumber, kInvoiceCountNotWhole);
  }
  if (!IsSheetDecimalNumber(texts[kValueColumn])) return RowMessage(rowNumber, kValueNotANumber);
  if (obligation == "0" && !IsValidTaxNumber(texts[0]))
    return RowMessage(rowNumber, kTaxNumberInvalid);
  // An empty number is no one's, even while the filer's box is empty too.
  if (!texts[0].empty() && texts[0] == filerTaxNumberUtf8)
    return RowMessage(rowNumber, kTaxNumberIsFilers);
  return std::nullopt;
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
    if (column == kValueColumn) {
      value = AbsoluteValueText(text);
      if (!value) {
        return CellMessage(rowNumber, column,
                           "έχει τιμή που δεν χωράει στο πεδίο της (16 χαρακτήρες)");
      }
      text = *value;
    } else if (column == kInvoiceCountColumn && text.size() > span.width) {
      return CellMessage(rowNumber, column, "έχει περισσότερους από 7 χαρακτήρες");
    }
    switch (WriteCp1253(text, line.data() + span.offset, span.width, offending)) {
      case Encoding::Fits:
        break;
      case Encoding::Unrepresentable:
        return CellMessage(rowNumber, column,
                           "περιέχει τον χαρακτήρα «" + offending +
                               "», που δεν υπάρχει στην ελληνική κωδικοσελίδα Windows-1253");
      case Encoding::ControlCharacter:
        return CellMessage(rowNumber, column, "περιέχει αλλαγή γραμμής ή άλλο χαρακτήρα ελέγχου");
    }
  }
  return std::nullopt;
}

// Rows beginRow up to endRow as working lines, one for each row (empty for a
// refused row), and every refused row.
struct ConvertedRows {
  std::vector<Cp1253Text> lines;
  std::vector<SheetRowProblem> refused;
};

ConvertedRows RowsToLines(const Sheet& sheet, int beginRow, int endRow, Side side,
                          std::string_view filerTaxNumberUtf8) {
  ConvertedRows converted;
  converted.lines.reserve(static_cast<std::size_t>(endRow - beginRow));
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
    }
    converted.lines.emplace_back(std::move(line));
  }
  return converted;
}

// The rows that the line checks would refuse when stored after the side's
// stored lines, as if typed one after the other; refused rows are left out.
void AddLineCheckRefusals(const std::vector<Cp1253Text>& lines, Side side,
                          std::string_view filerTaxNumber,
                          const std::vector<std::string>& storedLines,
                          std::vector<SheetRowProblem>& refused) {
  TypedLineRun run(side, filerTaxNumber, storedLines.size() + lines.size());
  for (const std::string& stored : storedLines) run.AddStored(stored);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const LineVerdict verdict = run.Judge(lines[i].view());
    if (verdict.accepted) {
      run.AddStored(lines[i].view());
      continue;
    }
    const int rowNumber = static_cast<int>(i) + 1;
    std::string message = RowMessage(rowNumber, " του αρχείου: ");
    message += verdict.message;
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
    (begin == 0 ? first : second) = RowsToLines(sheet, static_cast<int>(begin),
                                                static_cast<int>(end), side, filerTaxNumberUtf8);
  });
  std::vector<Cp1253Text>& lines = first.lines;
  lines.reserve(lines.size() + second.lines.size());
  std::move(second.lines.begin(), second.lines.end(), std::back_inserter(lines));
  std::vector<SheetRowProblem>& refused = first.refused;
  std::move(second.refused.begin(), second.refused.end(), std::back_inserter(refused));

  const auto rowRefusals = refused.size();
  if (storedLines) AddLineCheckRefusals(lines, side, filerTaxNumber, *storedLines, refused);
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
    std::string message = RowMessage(failure.row, " του αρχείου: Το κελί της στήλης ");
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
