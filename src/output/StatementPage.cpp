#include "StatementPage.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <stdexcept>
#include <utility>
#include <vector>

#include "Amount.h"
#include "AtomicFile.h"
#include "RecordLayout.h"

namespace velmora {

// The page's template (StatementPage.html, built into the program), UTF-8.
extern const char kStatementPageTemplate[];

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The page's texts a placeholder may name besides the filer's, in the order of kPageSlotNames.
enum class PageSlot { Title, RetailSales, WithoutItemisation, InvoiceTotal, GrandTotal, Count };
constexpr std::array<std::string_view, static_cast<std::size_t>(PageSlot::Count)> kPageSlotNames = {
    "title", "retailSales", "withoutItemisation", "invoiceTotal", "grandTotal"};

// The filer's fields by the names of their placeholders.
constexpr std::pair<std::string_view, Cp1253Text PageFiler::*> kFilerSlotNames[] = {
    {"taxOfficeName", &PageFiler::taxOfficeName},
    {"taxOfficeCode", &PageFiler::taxOfficeCode},
    {"year", &PageFiler::year},
    {"fileNumber", &PageFiler::fileNumber},
    {"companyName", &PageFiler::companyName},
    {"taxNumber", &PageFiler::taxNumber},
    {"profession", &PageFiler::profession},
    {"town", &PageFiler::town},
    {"street", &PageFiler::street},
    {"streetNumber", &PageFiler::streetNumber},
    {"postCode", &PageFiler::postCode},
    {"telephone", &PageFiler::telephone}};

// The placeholders of a statement line's row: its number on the page, then its fields.
constexpr std::string_view kLineNumberName = "line.number";
constexpr std::pair<std::string_view, LineField> kLineSlotNames[] = {
    {"line.taxNumber", LineField::TaxNumber},
    {"line.name", LineField::Name},
    {"line.obligation", LineField::Obligation},
    {"line.town", LineField::Town},
    {"line.street", LineField::Street},
    {"line.streetNumber", LineField::StreetNumber},
    {"line.invoiceCount", LineField::InvoiceCount},
    {"line.value", LineField::Value}};

// A stretch of fixed text (Windows-1253) followed by what one placeholder holds.
struct Piece {
  enum class Fill { Nothing, Page, Filer, LineNumber, Line };
  std::string text;
  Fill fill = Fill::Nothing;
  PageSlot slot = PageSlot::Title;
  Cp1253Text PageFiler::*filerField = nullptr;
  LineField field = LineField::TaxNumber;
};

// Which pages a line of the template belongs to.
enum class Condition { Always, Customers, Suppliers, CreditBalances };

struct TemplateLine {
  Condition condition = Condition::Always;
  std::vector<Piece> pieces;
};

// The template read once: the lines before the rows, one row, the lines after them.
struct PageTemplate {
  std::vector<TemplateLine> head, row, tail;
  // The room a row is given: its fixed text, all conditions counted, the widths of
  // its fields and a number's digits.
  std::size_t rowSize = 0;
};

[[noreturn]] void BadTemplate(std::string_view what) {
  throw std::logic_error("StatementPage.html: " + std::string(what));
}

Piece::Fill FillNamed(std::string_view name, Piece& piece) {
  for (std::size_t i = 0; i < kPageSlotNames.size(); ++i) {
    if (kPageSlotNames[i] == name) {
      piece.slot = static_cast<PageSlot>(i);
      return Piece::Fill::Page;
    }
  }
  for (const auto& [filerName, filerField] : kFilerSlotNames) {
    if (filerName == name) {
      piece.filerField = filerField;
      return Piece::Fill::Filer;
    }
  }
  if (name == kLineNumberName) return Piece::Fill::LineNumber;
  for (const auto& [lineName, field] : kLineSlotNames) {
    if (lineName == name) {
      piece.field = field;
      return Piece::Fill::Line;
    }
  }
  BadTemplate("unknown placeholder " + std::string(name));
}

// One line of the template: an optional "{{?condition}}" first, then text with
// "{{name}}" placeholders.
TemplateLine ParseLine(std::string_view line) {
  TemplateLine parsed;
  if (line.starts_with("{{?")) {
    const auto close = line.find("}}");
    if (close == std::string_view::npos) BadTemplate("unclosed condition");
    const std::string_view name = line.substr(3, close - 3);
    if (name == "customers") {
      parsed.condition = Condition::Customers;
    } else if (name == "suppliers") {
      parsed.condition = Condition::Suppliers;
    } else if (name == "creditBalances") {
      parsed.condition = Condition::CreditBalances;
    } else {
      BadTemplate("unknown condition " + std::string(name));
    }
    line.remove_prefix(close + 2);
  }
  while (true) {
    Piece piece;
    const auto open = line.find("{{");
    // The fixed texts hold no character without a Windows-1253 byte.
    piece.text = Utf8ToCp1253(line.substr(0, open)).value();
    if (open == std::string_view::npos) {
      piece.text += kLineEnd;
      parsed.pieces.push_back(std::move(piece));
      return parsed;
    }
    const auto close = line.find("}}", open);
    if (close == std::string_view::npos) BadTemplate("unclosed placeholder");
    piece.fill = FillNamed(line.substr(open + 2, close - open - 2), piece);
    parsed.pieces.push_back(std::move(piece));
    line.remove_prefix(close + 2);
  }
}

PageTemplate ParseTemplate(std::string_view text) {
  PageTemplate parsed;
  std::vector<TemplateLine>* part = &parsed.head;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line == "{{#line}}") {
      part = &parsed.row;
    } else if (line == "{{/line}}") {
      part = &parsed.tail;
    } else {
      part->push_back(ParseLine(line));
    }
  }
  if (part != &parsed.tail) BadTemplate("no {{#line}} ... {{/line}} block");
  for (const TemplateLine& line : parsed.row) {
    for (const Piece& piece : line.pieces) {
      parsed.rowSize += piece.text.size();
      // A field's width and a byte to spare, for a character escaped now and then.
      if (piece.fill == Piece::Fill::Line) parsed.rowSize += LineSpan(piece.field).width + 1;
      if (piece.fill == Piece::Fill::LineNumber) parsed.rowSize += 6;
    }
  }
  return parsed;
}

const PageTemplate& Template() {
  static const PageTemplate parsed = ParseTemplate(kStatementPageTemplate);
  return parsed;
}

// Whether the eight bytes from p hold one of the characters HTML reads as markup:
// most texts hold none, and are passed over a word at a time.
bool MayHoldMarkup(const char* p) {
  constexpr uint64_t kOnes = 0x0101010101010101;
  constexpr uint64_t kHighBits = 0x8080808080808080;
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  const auto holds = [word](unsigned char c) {
    const uint64_t x = word ^ (kOnes * c);
    return ((x - kOnes) & ~x & kHighBits) != 0;
  };
  return holds('<') || holds('>') || holds('&') || holds('"');
}

// Appends text with the characters that HTML reads as markup written as references.
void AppendEscaped(std::string& out, std::string_view text) {
  std::size_t plainFrom = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text.size() - i >= 8 && !MayHoldMarkup(text.data() + i)) {
      i += 8;
      continue;
    }
    std::string_view reference;
    switch (text[i]) {
      case '<':
        reference = "&lt;";
        break;
      case '>':
        reference = "&gt;";
        break;
      case '&':
        reference = "&amp;";
        break;
      case '"':
        reference = "&quot;";
        break;
      default:
        ++i;
        continue;
    }
    out.append(text.substr(plainFrom, i - plainFrom));
    out.append(reference);
    plainFrom = ++i;
  }
  out.append(text.substr(plainFrom));
}

using PageValues = std::array<std::string_view, kPageSlotNames.size()>;

bool Holds(Condition condition, const StatementPageInput& input) {
  switch (condition) {
    case Condition::Customers:
      return input.side == Side::Customers;
    case Condition::Suppliers:
      return input.side == Side::Suppliers;
    case Condition::CreditBalances:
      return input.creditBalances;
    case Condition::Always:
      break;
  }
  return true;
}

// The pieces of the template's lines that belong to this page, in order, each
// fixed text joined to the one before it where no placeholder stands between them.
std::vector<Piece> PiecesFor(const std::vector<TemplateLine>& lines,
                             const StatementPageInput& input) {
  std::vector<Piece> pieces;
  for (const TemplateLine& line : lines) {
    if (!Holds(line.condition, input)) continue;
    for (const Piece& piece : line.pieces) {
      if (!pieces.empty() && pieces.back().fill == Piece::Fill::Nothing) {
        std::string text = std::move(pieces.back().text) + piece.text;
        pieces.back() = piece;
        pieces.back().text = std::move(text);
      } else {
        pieces.push_back(piece);
      }
    }
  }
  return pieces;
}

// Appends the pieces with their placeholders filled and escaped; line is the
// statement line of a row, and number its number on the page.
void AppendPieces(std::string& out, const std::vector<Piece>& pieces,
                  const StatementPageInput& input, const PageValues& values,
                  std::string_view line = {}, std::string_view number = {}) {
  for (const Piece& piece : pieces) {
    out += piece.text;
    switch (piece.fill) {
      case Piece::Fill::Page:
        AppendEscaped(out, values[static_cast<std::size_t>(piece.slot)]);
        break;
      case Piece::Fill::Filer:
        AppendEscaped(out, (input.filer.*piece.filerField).view());
        break;
      case Piece::Fill::LineNumber:
        out += number;
        break;
      case Piece::Fill::Line:
        AppendEscaped(out, LineFieldText(line, piece.field));
        break;
      case Piece::Fill::Nothing:
        break;
    }
  }
}

// What an amount box holds for the page: a text that is not an amount counts as 0.
Amount AmountOrZero(const Cp1253Text& text) {
  return Amount::Parse(text.view()).value_or(Amount());
}

// The sum in the "0.##" form. Whole units and cents are added apart, so that a sum
// of amounts that each fit 64-bit cents is exact even where the sum itself does not.
std::string FormatSum(std::initializer_list<Amount> amounts) {
  int64_t units = 0;
  int64_t cents = 0;
  for (const Amount amount : amounts) {
    units += amount.Cents() / 100;
    cents += amount.Cents() % 100;
  }
  units += cents / 100;
  cents %= 100;
  if (units > 0 && cents < 0) {
    --units;
    cents += 100;
  } else if (units < 0 && cents > 0) {
    ++units;
    cents -= 100;
  }
  const bool negative = units < 0 || cents < 0;
  const uint64_t unitMagnitude =
      units < 0 ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  // The cents alone format as "0", "0,5" or "0,05": keep what follows the zero.
  const std::string fraction =
      Amount::FromCents(cents < 0 ? -cents : cents).FormatShort().substr(1);
  return (negative ? "-" : "") + std::to_string(unitMagnitude) + fraction;
}

}  // namespace

PageFiler PageFilerFromHeader(const HeaderFields& header, Cp1253Text taxOfficeName) {
  PageFiler filer;
  filer.taxOfficeName = std::move(taxOfficeName);
  filer.taxOfficeCode = header.taxOfficeCode;
  filer.year = header.year;
  filer.fileNumber = header.fileNumber;
  filer.companyName = header.companyName;
  filer.taxNumber = header.taxNumber;
  filer.profession = header.profession;
  filer.town = header.town;
  filer.street = header.street;
  filer.streetNumber = header.streetNumber;
  filer.postCode = header.postCode;
  filer.telephone = header.telephone;
  return filer;
}

Cp1253Text ComposeStatementPage(const StatementPageInput& input) {
  const PageTemplate& page = Template();
  const std::string title = Utf8ToCp1253(StatementTitle(input.side)).value();
  const StatementAmountTexts amounts = ComposeAmountTexts(input);
  PageValues values;
  values[static_cast<std::size_t>(PageSlot::Title)] = title;
  values[static_cast<std::size_t>(PageSlot::RetailSales)] = amounts.retailSales;
  values[static_cast<std::size_t>(PageSlot::WithoutItemisation)] = amounts.withoutItemisation;
  values[static_cast<std::size_t>(PageSlot::InvoiceTotal)] = input.invoiceTotal.view();
  values[static_cast<std::size_t>(PageSlot::GrandTotal)] = amounts.grandTotal;

  std::string out;
  // Room for the page as it mostly is: a generous guess would put a large page beyond
  // what the allocator keeps for reuse, and every print would fault its memory in afresh.
  out.reserve(8192 + input.lines.size() * page.rowSize);
  AppendPieces(out, PiecesFor(page.head, input), input, values);
  const std::vector<Piece> row = PiecesFor(page.row, input);
  // Numbered afresh on every print; the lines' stored sequence numbers are not used.
  std::size_t number = 0;
  for (const std::string& line : input.lines) {
    char digits[24];
    const auto converted = std::to_chars(digits, digits + sizeof digits, ++number);
    AppendPieces(out, row, input, values, line,
                 std::string_view(digits, static_cast<std::size_t>(converted.ptr - digits)));
  }
  AppendPieces(out, PiecesFor(page.tail, input), input, values);
  return Cp1253Text(std::move(out));
}

StatementAmountTexts ComposeAmountTexts(const StatementPageInput& input) {
  const Amount linesValue = AmountOrZero(input.valueTotal);
  const Amount withoutItemisation = AmountOrZero(input.withoutItemisation);
  StatementAmountTexts texts;
  texts.withoutItemisation = withoutItemisation.FormatShort();
  if (input.side == Side::Customers) {
    const Amount retailSales = AmountOrZero(input.retailSales);
    texts.retailSales = retailSales.FormatShort();
    texts.grandTotal = FormatSum({linesValue, retailSales, withoutItemisation});
  } else {
    texts.grandTotal = FormatSum({linesValue, withoutItemisation});
  }
  return texts;
}

std::string StatementPageFileName(Side side) {
  return side == Side::Customers ? "Pelates.htm" : "Promitheftes.htm";
}

std::string StatementPdfFileName(Side side) {
  return side == Side::Customers ? "Pelates.pdf" : "Promitheftes.pdf";
}

std::string_view StatementTitle(Side side) {
  return side == Side::Customers ? "ΣΥΓΚΕΝΤΡΩΤΙΚΗ ΚΑΤΑΣΤΑΣΗ ΠΕΛΑΤΩΝ"
                                 : "ΣΥΓΚΕΝΤΡΩΤΙΚΗ ΚΑΤΑΣΤΑΣΗ ΠΡΟΜΗΘΕΥΤΩΝ";
}

std::optional<Failure> WriteStatementPage(const std::string& path, const Cp1253Text& page) {
  try {
    // A page is made again by the next print, so it need not wait for the disk.
    WriteFileAtomically(path, page.view(), /*durable=*/false);
  } catch (const std::exception& error) {
    return SystemFailure(std::string(kPrintPreparationFailed) + "\n" + error.what());
  }
  return std::nullopt;
}

}  // namespace velmora
