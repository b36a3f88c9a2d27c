#include "SubmissionReader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

#include "Amount.h"
#include "RecordLayout.h"
#include "SideBySide.h"
#include "TextFile.h"
#include "VelmoraError.h"
#include "WholeNumber.h"

namespace velmora {

namespace {

constexpr const char* kNotASubmissionFile = "Μη έγκυρο αρχείο";
constexpr const char* kOpenFailed = "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου";
constexpr const char* kWrongType =
    "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Λάθος τύπος Record";
constexpr const char* kWrongLength =
    "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Το μήκος της γραμμής είναι λανθασμένο";

constexpr const char* kTooLarge =
    "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Το αρχείο είναι μεγαλύτερο από κάθε "
    "συγκεντρωτική κατάσταση που μπορεί να αποθηκευτεί";
constexpr const char* kTooManyCustomerLines =
    "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Το αρχείο έχει περισσότερες από 99999 "
    "γραμμές πελατών";
constexpr const char* kTooManySupplierLines =
    "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Το αρχείο έχει περισσότερες από 99999 "
    "γραμμές προμηθευτών";
static_assert(kMaxLinesPerSide == 99999, "the messages above name the limit");

// Working fields hold at most this many characters, and so do the amount boxes.
constexpr std::size_t kFieldWidth = LineSpan(LineField::Value).width;

constexpr ColumnSpan kSequence = LineSpan(LineField::SequenceNumber);
constexpr ColumnSpan kCount = LineSpan(LineField::InvoiceCount);
constexpr ColumnSpan kValue = LineSpan(LineField::Value);
// Retail sales (record "3" only), amount without itemisation, invoice total, grand total.
constexpr std::array<ColumnSpan, 4> kCustomerAmounts = {
    {amounts_record::kRetailSales, amounts_record::kWithoutItemisation,
     amounts_record::kInvoiceTotal, amounts_record::kGrandTotal}};
constexpr std::array<ColumnSpan, 3> kSupplierAmounts = {{amounts_record::kWithoutItemisation,
                                                         amounts_record::kInvoiceTotal,
                                                         amounts_record::kGrandTotal}};

template <std::size_t N>
bool AllDigits(std::string_view line, const std::array<ColumnSpan, N>& fields) {
  for (const ColumnSpan& columns : fields) {
    for (const char c : columns.In(line)) {
      if (c < '0' || c > '9') return false;
    }
  }
  return true;
}

// Where the line that text starts with ends: at its first CR or LF. Searched a
// window at a time, so that a text of lone CRs is not scanned again for an LF at
// every line.
std::size_t LineEnd(std::string_view text) {
  constexpr std::size_t kWindow = 256;
  for (std::size_t from = 0; from < text.size(); from += kWindow) {
    const std::size_t size = std::min(kWindow, text.size() - from);
    const char* const start = text.data() + from;
    const auto* lf = static_cast<const char*>(std::memchr(start, '\n', size));
    const std::size_t limit = lf ? static_cast<std::size_t>(lf - start) : size;
    if (const auto* cr = static_cast<const char*>(std::memchr(start, '\r', limit)))
      return from + static_cast<std::size_t>(cr - start);
    if (lf) return from + limit;
  }
  return text.size();
}

// The next line of the text, as the working files split theirs: CR, LF and CR LF end
// a line, and nothing after the last line end is a line of its own.
std::optional<std::string_view> NextLine(std::string_view& rest) {
  if (rest.empty()) return std::nullopt;
  const std::size_t end = LineEnd(rest);
  const std::string_view line = rest.substr(0, end);
  std::size_t next = end;
  if (next < rest.size()) {
    next += rest[next] == '\r' && next + 1 < rest.size() && rest[next + 1] == '\n' ? 2 : 1;
  }
  rest.remove_prefix(next);
  return line;
}

// "0IL01" in any letter case, the I also as the Greek capital or small Iota.
bool IsOpeningLine(std::string_view line) {
  constexpr std::string_view kLatin = opening_record::kMarker;
  constexpr char kGreekCapitalIota = '\xC9';
  constexpr char kGreekSmallIota = '\xE9';
  if (line.size() < kLatin.size()) return false;
  for (std::size_t i = 0; i < kLatin.size(); ++i) {
    char c = line[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c == kGreekSmallIota) c = kGreekCapitalIota;
    const bool iota = i == 1 && c == kGreekCapitalIota;
    if (c != kLatin[i] && !iota) return false;
  }
  return true;
}

// The amount text of a field of digits; nullopt when it would not fit its box.
std::optional<std::string> FittingAmountText(std::string_view field) {
  auto text = AmountTextFromCents(field);
  if (text && text->size() > kFieldWidth) return std::nullopt;
  return text;
}

// The text must fit the columns; it is left-aligned and blank-filled.
void Replace(std::string& line, ColumnSpan columns, std::string_view text) {
  const auto start = line.begin() + static_cast<std::ptrdiff_t>(columns.offset);
  std::fill(std::copy(text.begin(), text.end(), start),
            start + static_cast<std::ptrdiff_t>(columns.width), ' ');
}

// Writes the decimal digits of value into out (from its end backwards); returns
// where they start.
char* WriteDigits(int64_t value, char* end) {
  do {
    *--end = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return end;
}

// The amount text of cents ("0.##" with the comma) into buffer; its length.
std::size_t FormatCents(int64_t cents, char (&buffer)[24]) {
  char* const end = buffer + sizeof buffer;
  char* start = end;
  const int tenths = static_cast<int>(cents % 100 / 10);
  const int hundredths = static_cast<int>(cents % 10);
  if (hundredths != 0) *--start = static_cast<char>('0' + hundredths);
  if (hundredths != 0 || tenths != 0) {
    *--start = static_cast<char>('0' + tenths);
    *--start = ',';
  }
  start = WriteDigits(cents / 100, start);
  std::copy(start, end, buffer);
  return static_cast<std::size_t>(end - start);
}

// The value of a field of digits; false at the first character that is no digit.
bool ReadDigits(std::string_view field, int64_t& value) {
  int64_t result = 0;
  for (const char c : field) {
    const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
    if (digit > 9) return false;
    result = result * 10 + digit;
  }
  value = result;
  return true;
}

// Puts text left-aligned into the columns of line, blank-filled; it fits.
void Place(char* line, ColumnSpan columns, const char* text, std::size_t size) {
  std::memcpy(line + columns.offset, text, size);
  std::memset(line + columns.offset + size, ' ', columns.width - size);
}

// Appends a line record, in its working form, to lines and adds it to its side's
// totals; false when a number field is not digits, the value would not fit the
// working field or the totals would not fit their numbers.
bool AppendConverted(std::string_view fileLine, std::vector<std::string>& lines,
                     LineTotals& totals) {
  int64_t sequence = 0;
  int64_t invoices = 0;
  int64_t cents = 0;
  if (!ReadDigits(kSequence.In(fileLine), sequence) || !ReadDigits(kCount.In(fileLine), invoices) ||
      !ReadDigits(kValue.In(fileLine), cents))
    return false;
  char value[24];
  const std::size_t valueSize = FormatCents(cents, value);
  const auto sum = totals.value.Plus(Amount::FromCents(cents));
  if (valueSize > kFieldWidth || !sum) return false;
  totals.value = *sum;
  totals.invoices += invoices;  // at most 9,999,999 a line: no overflow below 10^12 lines
  char count[24];
  char* const countEnd = count + sizeof count;
  const char* const countStart = WriteDigits(invoices, countEnd);
  char* const line = lines.emplace_back(fileLine).data();
  Place(line, kCount, countStart, static_cast<std::size_t>(countEnd - countStart));
  Place(line, kValue, value, valueSize);
  return true;
}

// The line records of one side, as found in the file, before their conversion.
struct SideRecords {
  struct Record {
    std::string_view line;
    int lineNumber;
  };
  std::vector<Record> records;
  int failedLine = 0;  // the first line that did not convert, 0 when none
};

// Converts one side's records in file order, stopping at the first that fails.
void ConvertSide(SideRecords& side, std::vector<std::string>& lines, LineTotals& totals) {
  lines.reserve(side.records.size());
  for (const SideRecords::Record& record : side.records) {
    if (!AppendConverted(record.line, lines, totals)) {
      side.failedLine = record.lineNumber;
      return;
    }
  }
}

// The two sides share nothing: a large statement converts both at once.
void ConvertBothSides(SideRecords& customers, std::vector<std::string>& customerLines,
                      LineTotals& customerTotals, SideRecords& suppliers,
                      std::vector<std::string>& supplierLines, LineTotals& supplierTotals) {
  auto convertCustomers = [&] { ConvertSide(customers, customerLines, customerTotals); };
  auto convertSuppliers = [&] { ConvertSide(suppliers, supplierLines, supplierTotals); };
  constexpr std::size_t kWorthAThread = 4096;
  if (customers.records.size() < kWorthAThread || suppliers.records.size() < kWorthAThread) {
    convertCustomers();
    convertSuppliers();
  } else {
    RunSideBySide(convertCustomers, convertSuppliers);
  }
}

ReadFailure FailureAt(const char* message, int lineNumber) {
  return ReadFailure{{message, true}, lineNumber, false};
}

}  // namespace

std::optional<std::string> AmountTextFromCents(std::string_view field) {
  const auto cents = ParseWholeNumber(field);
  if (!cents) return std::nullopt;
  return Amount::FromCents(*cents).FormatShort();
}

std::string ConvertFileLine(std::string_view fileLine) {
  std::string line(fileLine);
  if (line.size() >= kCount.end()) {
    if (const auto count = ParseWholeNumber(kCount.In(line))) {
      Replace(line, kCount, FormatGeneralNumber(*count));
    }
  }
  if (line.size() >= kValue.end()) {
    if (const auto value = FittingAmountText(kValue.In(line))) Replace(line, kValue, *value);
  }
  return line;
}

std::variant<OpenedStatement, ReadFailure> ReadSubmissionFile(std::string_view bytes) {
  if (bytes.size() > kSubmissionFileSizeLimit) return ReadFailure{{kTooLarge, true}, 0, true};
  std::string_view rest = bytes;
  const auto first = NextLine(rest);
  if (!first || !IsOpeningLine(*first)) return ReadFailure{{kNotASubmissionFile, false}, 0, true};

  OpenedStatement statement;
  statement.creditBalances =
      first->find(opening_record::kCreditBalancesKind) != std::string_view::npos;
  // First every line is told apart and the rare records are taken; the line records
  // are converted after, both sides at once.
  SideRecords customers;
  SideRecords suppliers;
  std::optional<ReadFailure> stop;
  int lineNumber = 1;
  while (const auto next = NextLine(rest)) {
    const std::string_view line = *next;
    ++lineNumber;
    // The file is bytes: a NUL is a character like any other, and so a wrong record
    // type where the type stands and a damaged record anywhere else.
    if (!line.empty() &&
        (line.front() < record_type::kHeader || line.front() > record_type::kSupplierAmounts)) {
      stop = FailureAt(kWrongType, lineNumber);
      break;
    }
    if (line.size() != kRecordLength || line.find('\0') != std::string_view::npos) {
      stop = FailureAt(kWrongLength, lineNumber);
      break;
    }
    switch (line.front()) {
      case record_type::kHeader:
        statement.headerLines.emplace_back(line);
        break;
      case record_type::kCustomerLine:
      case record_type::kSupplierLine: {
        const bool customer = line.front() == record_type::kCustomerLine;
        SideRecords& side = customer ? customers : suppliers;
        // Such a statement could never be saved: the sequence numbers end at 99999.
        if (side.records.size() == static_cast<std::size_t>(kMaxLinesPerSide)) {
          stop = FailureAt(customer ? kTooManyCustomerLines : kTooManySupplierLines, lineNumber);
          break;
        }
        side.records.push_back({line, lineNumber});
        break;
      }
      case record_type::kCustomerAmounts: {
        auto retail = FittingAmountText(amounts_record::kRetailSales.In(line));
        auto without = FittingAmountText(amounts_record::kWithoutItemisation.In(line));
        if (!AllDigits(line, kCustomerAmounts) || !retail || !without) {
          stop = FailureAt(kOpenFailed, lineNumber);
          break;
        }
        statement.retailSales = std::move(*retail);
        statement.customersWithoutItemisation = std::move(*without);
        statement.customerAmountLines.emplace_back(line);
        break;
      }
      default: {
        auto without = FittingAmountText(amounts_record::kWithoutItemisation.In(line));
        if (!AllDigits(line, kSupplierAmounts) || !without) {
          stop = FailureAt(kOpenFailed, lineNumber);
          break;
        }
        statement.suppliersWithoutItemisation = std::move(*without);
        statement.supplierAmountLines.emplace_back(line);
        break;
      }
    }
    if (stop) break;
  }

  ConvertBothSides(customers, statement.customerLines, statement.customerTotals, suppliers,
                   statement.supplierLines, statement.supplierTotals);
  // The failure that comes first in the file is the one reported.
  for (const SideRecords* side : {&customers, &suppliers}) {
    if (side->failedLine != 0 && (!stop || side->failedLine < stop->lineNumber))
      stop = FailureAt(kOpenFailed, side->failedLine);
  }
  if (stop) return *stop;
  return statement;
}

std::variant<std::string, ReadFailure> ReadSubmissionBytes(const std::string& path) {
  try {
    return ReadFileBytes(path, kSubmissionFileSizeLimit);
  } catch (const FileTooLargeError&) {
    return ReadFailure{{kTooLarge, true}, 0, true};
  } catch (const std::exception& error) {
    return ReadFailure{{std::string(kOpenFailed) + "\n" + error.what(), true}, 0, true};
  }
}

std::variant<OpenedStatement, ReadFailure> ReadSubmissionFileAt(const std::string& path) {
  auto bytes = ReadSubmissionBytes(path);
  if (auto* failure = std::get_if<ReadFailure>(&bytes)) return std::move(*failure);
  return ReadSubmissionFile(std::get<std::string>(bytes));
}

}  // namespace velmora
