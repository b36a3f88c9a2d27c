#include "SubmissionReader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "Amount.h"
#include "LineLayout.h"
#include "WholeNumber.h"

namespace velmora {

namespace {

constexpr const char* kNotASubmissionFile = "Μη έγκυρο αρχείο";
constexpr const char* kOpenFailed = "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου";
constexpr const char* kWrongType =
    "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Λάθος τύπος Record";
constexpr const char* kWrongLength =
    "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Το μήκος της γραμμής είναι λανθασμένο";

// Working fields hold at most this many characters, and so do the amount boxes.
constexpr std::size_t kFieldWidth = 16;

struct Columns {
  std::size_t offset;  // 0-based
  std::size_t width;
};

constexpr Columns kCount = {92, 7};
constexpr Columns kValue = {99, 16};
// Sequence number, invoice count and value of a line record.
constexpr std::array<Columns, 3> kLineNumbers = {{{1, 5}, kCount, kValue}};
constexpr Columns kRetailSales = {2, 16};
constexpr Columns kWithoutItemisation = {19, 16};
// Retail sales (record "3" only), amount without itemisation, invoice total, grand total.
constexpr std::array<Columns, 4> kCustomerAmounts = {
    {kRetailSales, kWithoutItemisation, {35, 16}, {51, 16}}};
constexpr std::array<Columns, 3> kSupplierAmounts = {{kWithoutItemisation, {35, 16}, {51, 16}}};

std::string_view Field(std::string_view line, Columns columns) {
  return line.substr(columns.offset, columns.width);
}

template <std::size_t N>
bool AllDigits(std::string_view line, const std::array<Columns, N>& fields) {
  for (const Columns& columns : fields) {
    for (const char c : Field(line, columns)) {
      if (c < '0' || c > '9') return false;
    }
  }
  return true;
}

// The next line of the text, as the working files split theirs: CR, LF and CR LF end
// a line, and nothing after the last line end is a line of its own.
std::optional<std::string_view> NextLine(std::string_view& rest) {
  if (rest.empty()) return std::nullopt;
  std::size_t end = 0;
  while (end < rest.size() && rest[end] != '\r' && rest[end] != '\n') ++end;
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
  constexpr std::string_view kLatin = "0IL01";
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
void Replace(std::string& line, Columns columns, std::string_view text) {
  const auto start = line.begin() + static_cast<std::ptrdiff_t>(columns.offset);
  std::fill(std::copy(text.begin(), text.end(), start),
            start + static_cast<std::ptrdiff_t>(columns.width), ' ');
}

ReadFailure Failure(const char* message, int lineNumber) {
  return ReadFailure{message, true, lineNumber, false};
}

}  // namespace

std::optional<std::string> AmountTextFromCents(std::string_view field) {
  const auto cents = ParseWholeNumber(field);
  if (!cents) return std::nullopt;
  return Amount::FromCents(*cents).FormatShort();
}

std::string ConvertFileLine(std::string_view fileLine) {
  std::string line(fileLine);
  if (line.size() >= kCount.offset + kCount.width) {
    if (const auto count = ParseWholeNumber(Field(line, kCount))) {
      Replace(line, kCount, FormatGeneralNumber(*count));
    }
  }
  if (line.size() >= kValue.offset + kValue.width) {
    if (const auto value = FittingAmountText(Field(line, kValue))) Replace(line, kValue, *value);
  }
  return line;
}

std::variant<OpenedStatement, ReadFailure> ReadSubmissionFile(std::string_view bytes) {
  if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
    bytes = bytes.substr(0, nul);
  }
  std::string_view rest = bytes;
  const auto first = NextLine(rest);
  if (!first || !IsOpeningLine(*first)) return ReadFailure{kNotASubmissionFile, false, 0, true};

  OpenedStatement statement;
  statement.creditBalances = first->find(".PIS") != std::string_view::npos;
  int lineNumber = 1;
  while (const auto next = NextLine(rest)) {
    const std::string_view line = *next;
    ++lineNumber;
    if (!line.empty() && (line.front() < '1' || line.front() > '5')) {
      return Failure(kWrongType, lineNumber);
    }
    if (line.size() != static_cast<std::size_t>(kLineLength)) {
      return Failure(kWrongLength, lineNumber);
    }
    switch (line.front()) {
      case '1':
        statement.headerLines.emplace_back(line);
        break;
      case '2':
      case '4': {
        // The count always converts once it is digits; a value too long for its
        // working field would be changed by the conversion.
        if (!AllDigits(line, kLineNumbers) || !FittingAmountText(Field(line, kValue))) {
          return Failure(kOpenFailed, lineNumber);
        }
        auto& lines = line.front() == '2' ? statement.customerLines : statement.supplierLines;
        lines.push_back(ConvertFileLine(line));
        break;
      }
      case '3': {
        if (!AllDigits(line, kCustomerAmounts)) return Failure(kOpenFailed, lineNumber);
        auto retail = FittingAmountText(Field(line, kRetailSales));
        auto without = FittingAmountText(Field(line, kWithoutItemisation));
        if (!retail || !without) return Failure(kOpenFailed, lineNumber);
        statement.retailSales = std::move(*retail);
        statement.customersWithoutItemisation = std::move(*without);
        statement.customerAmountLines.emplace_back(line);
        break;
      }
      default: {
        if (!AllDigits(line, kSupplierAmounts)) return Failure(kOpenFailed, lineNumber);
        auto without = FittingAmountText(Field(line, kWithoutItemisation));
        if (!without) return Failure(kOpenFailed, lineNumber);
        statement.suppliersWithoutItemisation = std::move(*without);
        statement.supplierAmountLines.emplace_back(line);
        break;
      }
    }
  }
  return statement;
}

}  // namespace velmora
