#include "StatementPage.h"

#include <charconv>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <utility>

#include "Amount.h"
#include "AtomicFile.h"
#include "RecordLayout.h"

namespace velmora {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kValueCellStart = R"(<td class="style2">)";
constexpr std::string_view kValueCellEnd = "</td>";
// The most one statement line adds to the page when none of its texts needs
// escaping: the row's markup and the widths of the printed fields.
constexpr std::size_t kRowMarkup = 210;
constexpr std::size_t kRowSize =
    kRowMarkup + LineSpan(LineField::TaxNumber).width + LineSpan(LineField::Name).width +
    LineSpan(LineField::Obligation).width + LineSpan(LineField::Town).width +
    LineSpan(LineField::Street).width + LineSpan(LineField::StreetNumber).width +
    LineSpan(LineField::InvoiceCount).width + LineSpan(LineField::Value).width;

// The fixed texts are written here in UTF-8 and kept as Windows-1253; they hold no
// character without a byte, so the conversion cannot fail.
std::string Cp1253(std::string_view utf8) { return Utf8ToCp1253(utf8).value(); }

// The lines, each followed by CR LF, as Windows-1253.
std::string Block(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (const std::string_view line : lines) {
    text += line;
    text += kLineEnd;
  }
  return Cp1253(text);
}

std::string Template(Side side) {
  const std::string title = side == Side::Customers ? "ΣΥΓΚΕΝΤΡΩΤΙΚΗ ΚΑΤΑΣΤΑΣΗ ΠΕΛΑΤΩΝ"
                                                    : "ΣΥΓΚΕΝΤΡΩΤΙΚΗ ΚΑΤΑΣΤΑΣΗ ΠΡΟΜΗΘΕΥΤΩΝ";
  std::string text = Block({
      "",
      "<html>",
      "<head>",
      R"(<meta http-equiv="Content-Type" content="text/html; charset=windows-1253">)",
      "<title>" + title + "</title>",
      R"(<style type="text/css">)",
      "<!--",
      ".style2 {font-size: 12}",
      "",
      "-->",
      "</style>",
      "</head>",
      "",
      "<body>",
      R"(<table cellpadding="0" cellspacing="0" width="100%" border="0" >)",
      R"(<thead style="display:table-header-group"><tr><th><font size="1">DALMERIN - QUORVANE</font></th></tr></thead>)",
      "",
      R"(<tr><td class="style2" ><center><b>)" + title + "</b></center><br></td></tr>",
      "",
      "<tr><td>",
  });
  // The suppliers' template ends with one more empty line.
  if (side == Side::Suppliers) text += kLineEnd;
  // The template is followed by a line break of its own.
  text += kLineEnd;
  return text;
}

// The fixed stretches of the page between the texts that vary, in page order.
struct FixedPieces {
  std::string customersTemplate = Template(Side::Customers);
  std::string suppliersTemplate = Template(Side::Suppliers);
  std::string creditBalancesHeading =
      Block({"<center>ΠΙΣΤΩΤΙΚΑ ΥΠΟΛΟΙΠΑ</center></br></td></tr><tr><td>"});
  std::string beforeTaxOffice = Block({
      R"(<table cellpadding="0" cellspacing="0" width="100%"  border="0">)",
      "<tr>",
      R"(<td class="style2">Προς Δ.Ο.Υ.:</td>)",
  });
  std::string beforeYear = Block({R"(<td class="style2">Έτος:</td>)"});
  std::string beforeFileNumber = Block({
      R"(<td class="style2">Αριθ. Κατάστασης:</td>)",
      R"(<td class="style2">&nbsp;</td>)",
      R"(<td class="style2">* Συμπληρώνεται από την Υπηρεσία</td>)",
      "</tr><tr>",
      R"(<td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td>)",
      R"(<td class="style2">Αριθ. Φακέλου:</td>)",
  });
  std::string beforeCompanyName =
      Block({
          R"(<td class="style2">(για τις Α.Ε.)</td>)",
          "</tr></table>",
          R"(<table width="100%"  border="0" cellspacing="0" cellpadding="0">)",
          R"(<tr><td class="style2" colspan="6"><br><center><b>ΣΤΟΙΧΕΙΑ ΥΠΟΧΡΕΟΥ</b></center></td></tr>)",
          R"(<tr><td class="style2">Ονοματεπώνυμο ή Επωνυμία:</td>)",
      }) +
      R"(<td class="style2" colspan="3">)";
  std::string beforeTaxNumber = Block({"</td>", R"(<td class="style2">ΑΦΜ:</td>)"});
  std::string beforeProfession = Block({
      R"(</tr><tr><td class="style2">Πατρώνυμο:</td>)",
      R"(<td class="style2" colspan="5">&nbsp;</td></tr>)",
      R"(<tr><td class="style2">Επάγγελμα:</td>)",
  });
  std::string beforeAddress = Block({R"(<td class="style2">Διεύθυνση:</td>)"});
  std::string beforeTelephone = Block({R"(<td class="style2">Τηλ:</td>)"});
  std::string beforeLines = Block({
      R"(</tr><tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2">(πόλη, οδός, αριθμός, Τ.Κ.)</td><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td></tr>)",
      R"(<tr><td class="style2" colspan="6">&nbsp;</td></tr></table>)",
      R"(<table width="100%"  border="1" cellspacing="0" cellpadding="0">)",
      R"(<thead style="display:table-header-group"><tr>)",
      R"(<th class="style2"><center>α/α</center></th><th class="style2"><center>ΑΦΜ</center></th><th class="style2"><center>Ονοματεπώνυμο ή Επωνυμία συναλλασομένου</center></th>)",
      R"(<th class="style2"><center>Κωδικός "1" <BR> Επάγγελμα <BR>για μη υπόχρεους</center></th><th class="style2"><center>Διεύθυνση</center></th><th class="style2"><center>Αριθμός Φορολ. Στοιχείων</center></th>)",
      R"(<th class="style2"><center>Καθαρή αξία</center></th></tr></thead>)",
  });
  std::string afterLines = Block({R"(<tr><td class="style2" colspan="7">&nbsp;</td></tr>)"});
  std::string beforeRetailSales =
      Block({
          R"(<tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2" colspan="3">Αξία Λιανικών Πωλήσεων</td>)",
          R"(<td class="style2">&nbsp;</td>)",
      }) +
      R"(<td class="style2">)";
  std::string beforeWithoutItemisation =
      Block({
          R"(<tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2" colspan="3">Αξία συναλλαγών χωρίς υποχρέωση υποβολής στοιχείων στις αναλυτικές γραμμές</td>)",
          R"(<td class="style2">&nbsp;</td>)",
      }) +
      R"(<td class="style2">)";
  // The customers' amount row closes itself; the suppliers' is closed by the total row.
  std::string customersBeforeTotal = Block({
      "</td></tr>",
      R"(<tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td>)",
      R"(<td class="style2" colspan="3">ΣΥΝΟΛΟ</td>)",
  });
  std::string suppliersBeforeTotal = Block({
      "</td>",
      R"(</tr><tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td>)",
      R"(<td class="style2" colspan="3">ΣΥΝΟΛΟ</td>)",
  });
  std::string closing = Block({"</tr></table></td></tr></table></body></html>"});
};

const FixedPieces& Pieces() {
  static const FixedPieces pieces;
  return pieces;
}

// Appends text with the characters that HTML reads as markup written as references.
void AppendEscaped(std::string& out, std::string_view text) {
  std::size_t plainFrom = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
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
        continue;
    }
    out.append(text.substr(plainFrom, i - plainFrom));
    out.append(reference);
    plainFrom = i + 1;
  }
  out.append(text.substr(plainFrom));
}

// A value cell on its own line around a text that is written unescaped.
void AppendValueCell(std::string& out, std::string_view markup) {
  out += kValueCellStart;
  out += markup;
  out += kValueCellEnd;
  out += kLineEnd;
}

// A value cell on its own line around a text taken from the user.
void AppendUserCell(std::string& out, std::string_view text) {
  out += kValueCellStart;
  AppendEscaped(out, text);
  out += kValueCellEnd;
  out += kLineEnd;
}

void AppendLineRow(std::string& out, std::size_t number, std::string_view line) {
  char digits[24];
  const auto converted = std::to_chars(digits, digits + sizeof digits, number);
  out += "<tr>";
  out += kLineEnd;
  AppendValueCell(out, std::string_view(digits, static_cast<std::size_t>(converted.ptr - digits)));
  AppendUserCell(out, LineFieldText(line, LineField::TaxNumber));
  AppendUserCell(out, LineFieldText(line, LineField::Name));
  AppendUserCell(out, LineFieldText(line, LineField::Obligation));
  // The address of a line leaves the postcode out.
  out += kValueCellStart;
  AppendEscaped(out, LineFieldText(line, LineField::Town));
  out += ", ";
  AppendEscaped(out, LineFieldText(line, LineField::Street));
  out += ' ';
  AppendEscaped(out, LineFieldText(line, LineField::StreetNumber));
  out += kValueCellEnd;
  out += kLineEnd;
  AppendUserCell(out, LineFieldText(line, LineField::InvoiceCount));
  AppendUserCell(out, LineFieldText(line, LineField::Value));
  out += "</tr>";
  out += kLineEnd;
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
  const FixedPieces& pieces = Pieces();
  const PageFiler& filer = input.filer;
  const bool customers = input.side == Side::Customers;

  std::string page;
  page.reserve(8192 + input.lines.size() * kRowSize);

  page += customers ? pieces.customersTemplate : pieces.suppliersTemplate;
  if (input.creditBalances) page += pieces.creditBalancesHeading;

  page += pieces.beforeTaxOffice;
  AppendUserCell(page, filer.taxOfficeName.view());
  AppendUserCell(page, filer.taxOfficeCode.view());
  page += pieces.beforeYear;
  AppendUserCell(page, filer.year.view());
  page += pieces.beforeFileNumber;
  AppendUserCell(page, filer.fileNumber.view());

  page += pieces.beforeCompanyName;
  AppendEscaped(page, filer.companyName.view());
  page += pieces.beforeTaxNumber;
  AppendUserCell(page, filer.taxNumber.view());
  page += pieces.beforeProfession;
  AppendUserCell(page, filer.profession.view());
  page += pieces.beforeAddress;
  // Empty parts of the address keep their separators.
  page += kValueCellStart;
  AppendEscaped(page, filer.town.view());
  page += ", ";
  AppendEscaped(page, filer.street.view());
  page += ' ';
  AppendEscaped(page, filer.streetNumber.view());
  page += ", ";
  AppendEscaped(page, filer.postCode.view());
  page += kValueCellEnd;
  page += kLineEnd;
  page += pieces.beforeTelephone;
  AppendUserCell(page, filer.telephone.view());

  page += pieces.beforeLines;
  // Numbered afresh on every print; the lines' stored sequence numbers are not used.
  std::size_t number = 0;
  for (const std::string& line : input.lines) AppendLineRow(page, ++number, line);
  page += pieces.afterLines;

  const StatementAmountTexts amounts = ComposeAmountTexts(input);
  if (customers) {
    page += pieces.beforeRetailSales;
    page += amounts.retailSales;
    page += "</td></tr>";
    page += kLineEnd;
  }
  page += pieces.beforeWithoutItemisation;
  page += amounts.withoutItemisation;
  page += customers ? pieces.customersBeforeTotal : pieces.suppliersBeforeTotal;
  AppendUserCell(page, input.invoiceTotal.view());
  AppendValueCell(page, amounts.grandTotal);
  page += pieces.closing;
  return Cp1253Text(std::move(page));
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

std::optional<PageWriteFailure> WriteStatementPage(const std::string& path,
                                                   const Cp1253Text& page) {
  try {
    // A page is made again by the next print, so it need not wait for the disk.
    WriteFileAtomically(path, page.view(), /*durable=*/false);
  } catch (const std::exception& error) {
    return PageWriteFailure{
        std::string("Υπήρξε κάποιο πρόβλημα κατά την προετοιμασία της εκτύπωσης\n") + error.what()};
  }
  return std::nullopt;
}

}  // namespace velmora
