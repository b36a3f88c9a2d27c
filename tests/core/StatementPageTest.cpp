#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "Cp1253.h"
#include "RecordLayout.h"
#include "StatementPage.h"
#include "SystemReason.h"

namespace velmora {
namespace {

std::string ToCp1253(std::string_view utf8) {
  const auto bytes = Utf8ToCp1253(utf8);
  EXPECT_TRUE(bytes.has_value()) << utf8;
  return bytes.value_or("");
}

Cp1253Text Text(std::string_view utf8) { return Cp1253Text(ToCp1253(utf8)); }

// A working line: each field left-aligned in its columns; texts in UTF-8.
struct LineTexts {
  std::string_view sequence{}, taxNumber{}, name{}, profession{}, obligation{}, town{}, street{},
      streetNumber{}, postCode{}, invoiceCount{}, value{};
};

std::string WorkingLine(Side side, const LineTexts& t) {
  std::string line(kRecordLength, ' ');
  line[0] = LineRecordType(side);
  const auto put = [&line](LineField field, std::string_view utf8) {
    const std::string bytes = ToCp1253(utf8);
    const ColumnSpan span = LineSpan(field);
    line.replace(span.offset, std::min(bytes.size(), span.width),
                 std::string_view(bytes).substr(0, span.width));
  };
  put(LineField::SequenceNumber, t.sequence);
  put(LineField::TaxNumber, t.taxNumber);
  put(LineField::Name, t.name);
  put(LineField::Profession, t.profession);
  put(LineField::Obligation, t.obligation);
  put(LineField::Town, t.town);
  put(LineField::Street, t.street);
  put(LineField::StreetNumber, t.streetNumber);
  put(LineField::PostCode, t.postCode);
  put(LineField::InvoiceCount, t.invoiceCount);
  put(LineField::Value, t.value);
  return line;
}

PageFiler SampleFiler() {
  PageFiler filer;
  filer.taxOfficeName = Text("Α' ΑΘΗΝΩΝ");
  filer.taxOfficeCode = Text("1101");
  filer.year = Text("2009");
  filer.fileNumber = Text("12");
  filer.companyName = Text("ΑΛΦΑ ΑΕ");
  filer.taxNumber = Text("094014201");
  filer.profession = Text("ΕΜΠΟΡΙΟ");
  filer.town = Text("ΑΘΗΝΑ");
  filer.street = Text("ΣΤΑΔΙΟΥ");
  filer.streetNumber = Text("10");
  filer.postCode = Text("10564");
  filer.telephone = Text("2101234567");
  return filer;
}

// The page cut at its CR LF line ends; every line must end so, the last one too.
std::vector<std::string> PageLines(const Cp1253Text& page) {
  std::vector<std::string> lines;
  std::string_view rest = page.view();
  EXPECT_TRUE(rest.ends_with("\r\n"));
  while (!rest.empty()) {
    const auto end = rest.find("\r\n");
    if (end == std::string_view::npos) break;
    const std::string_view line = rest.substr(0, end);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string_view::npos) << "stray line break";
    lines.emplace_back(line);
    rest.remove_prefix(end + 2);
  }
  return lines;
}

// Compares Windows-1253 lines with expected UTF-8 lines, showing both in UTF-8.
void ExpectLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    EXPECT_EQ(actual[i], ToCp1253(expected[i]))
        << "line " << i + 1 << "\n  got:  " << Cp1253ToUtf8(actual[i])
        << "\n  want: " << expected[i];
  }
  EXPECT_EQ(actual.size(), expected.size());
}

// The lines of the page from the first that equals first (UTF-8) to its end.
std::vector<std::string> LinesFrom(const std::vector<std::string>& lines, std::string_view first) {
  const auto start = std::find(lines.begin(), lines.end(), ToCp1253(first));
  EXPECT_NE(start, lines.end()) << first;
  return {start, lines.end()};
}

// The last count lines of the page.
std::vector<std::string> LastLines(const std::vector<std::string>& lines, std::size_t count) {
  EXPECT_GE(lines.size(), count);
  return {lines.end() - static_cast<std::ptrdiff_t>(std::min(count, lines.size())), lines.end()};
}

std::vector<std::string> InUtf8(std::vector<std::string> lines) {
  for (std::string& line : lines) line = Cp1253ToUtf8(line);
  return lines;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path DataPath(std::string_view name) {
  return std::filesystem::path(__FILE__).parent_path() / "../data/print" / name;
}

const std::vector<std::string> kLinesTableHead = {
    R"(<table width="100%"  border="1" cellspacing="0" cellpadding="0">)",
    R"(<thead style="display:table-header-group"><tr>)",
    R"(<th class="style2"><center>α/α</center></th><th class="style2"><center>ΑΦΜ</center></th><th class="style2"><center>Ονοματεπώνυμο ή Επωνυμία συναλλασομένου</center></th>)",
    R"(<th class="style2"><center>Κωδικός "1" <BR> Επάγγελμα <BR>για μη υπόχρεους</center></th><th class="style2"><center>Διεύθυνση</center></th><th class="style2"><center>Αριθμός Φορολ. Στοιχείων</center></th>)",
    R"(<th class="style2"><center>Καθαρή αξία</center></th></tr></thead>)",
};

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(StatementPageTest, CustomersPageWithCreditBalances) {
  const std::vector<std::string> lines = {
      WorkingLine(Side::Customers, {.sequence = "00007",
                                    .taxNumber = "123456783",
                                    .name = "ΠΑΠΑΔΟΠΟΥΛΟΣ ΓΙΑΝΝΗΣ",
                                    .profession = "ΕΜΠΟΡΟΣ",
                                    .obligation = "0",
                                    .town = "ΠΑΤΡΑ",
                                    .street = "ΚΟΡΙΝΘΟΥ",
                                    .streetNumber = "5",
                                    .postCode = "26221",
                                    .invoiceCount = "3",
                                    .value = "1234,5"}),
      WorkingLine(Side::Customers, {.sequence = "",
                                    .taxNumber = "987654321",
                                    .name = "Α&Β <ΟΕ> \"ΝΕΑ\"",
                                    .profession = "",
                                    .obligation = "1",
                                    .town = "",
                                    .street = "ΕΡΜΟΥ",
                                    .streetNumber = "",
                                    .postCode = "",
                                    .invoiceCount = "12",
                                    .value = "10"}),
  };
  StatementPageInput input;
  input.side = Side::Customers;
  input.creditBalances = true;
  input.filer = SampleFiler();
  input.lines = lines;
  input.retailSales = Text("1000,00");
  input.withoutItemisation = Text("0,004");
  input.invoiceTotal = Text("15");
  input.valueTotal = Text("1244,50");

  // The page as it was first made and looked at in a browser and in print.
  const std::string expected = ReadFile(DataPath("customers-credit-balances.htm"));
  const Cp1253Text page = ComposeStatementPage(input);
  ExpectLines(PageLines(page), InUtf8(PageLines(Cp1253Text(expected))));
  EXPECT_EQ(page.bytes(), expected);
}

TEST(StatementPageTest, SuppliersPageHasNoRetailRowAndNoCreditHeading) {
  const std::vector<std::string> lines = {
      WorkingLine(Side::Suppliers, {.sequence = "",
                                    .taxNumber = "123456783",
                                    .name = "ΒΗΤΑ ΟΕ",
                                    .profession = "",
                                    .obligation = "0",
                                    .town = "ΛΑΡΙΣΑ",
                                    .street = "ΠΑΝΟΣ",
                                    .streetNumber = "7Α",
                                    .postCode = "41222",
                                    .invoiceCount = "4",
                                    .value = "250,75"}),
  };
  StatementPageInput input;
  input.side = Side::Suppliers;
  input.creditBalances = false;
  input.filer = SampleFiler();
  input.lines = lines;
  input.retailSales = Text("999");  // a customers' box: no part of the suppliers' page
  input.withoutItemisation = Text("1234,5");
  input.invoiceTotal = Text("");
  input.valueTotal = Text("250,75");

  const std::vector<std::string> page = PageLines(ComposeStatementPage(input));
  const std::string title = "ΣΥΓΚΕΝΤΡΩΤΙΚΗ ΚΑΤΑΣΤΑΣΗ ΠΡΟΜΗΘΕΥΤΩΝ";
  ASSERT_GE(page.size(), 23u);
  EXPECT_EQ(Cp1253ToUtf8(page[4]), "<title>" + title + "</title>");
  EXPECT_EQ(Cp1253ToUtf8(page[17]),
            R"(<tr><td class="style2" ><center><b>)" + title + "</b></center><br></td></tr>");
  // The suppliers' heading is followed by one more empty line, then the identification table.
  ExpectLines(
      {page.begin() + 19, page.begin() + 23},
      {"<tr><td>", "", "", R"(<table cellpadding="0" cellspacing="0" width="100%"  border="0">)"});
  ExpectLines(
      LinesFrom(page, kLinesTableHead.front()),
      Joined({
          kLinesTableHead,
          {
              "<tr>",
              R"(<td class="style2">1</td>)",
              R"(<td class="style2">123456783</td>)",
              R"(<td class="style2">ΒΗΤΑ ΟΕ</td>)",
              R"(<td class="style2">0</td>)",
              R"(<td class="style2">ΛΑΡΙΣΑ, ΠΑΝΟΣ 7Α</td>)",
              R"(<td class="style2">4</td>)",
              R"(<td class="style2">250,75</td>)",
              "</tr>",
              R"(<tr><td class="style2" colspan="7">&nbsp;</td></tr>)",
              R"(<tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2" colspan="3">Αξία συναλλαγών χωρίς υποχρέωση υποβολής στοιχείων στις αναλυτικές γραμμές</td>)",
              R"(<td class="style2">&nbsp;</td>)",
              R"(<td class="style2">1234,5</td>)",
              R"(</tr><tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td>)",
              R"(<td class="style2" colspan="3">ΣΥΝΟΛΟ</td>)",
              R"(<td class="style2"></td>)",
              R"(<td class="style2">1485,25</td>)",
              "</tr></table></td></tr></table></body></html>",
          },
      }));
}

TEST(StatementPageTest, EmptyStatementAndEmptyFields) {
  StatementPageInput input;
  input.side = Side::Customers;
  const std::vector<std::string> page = PageLines(ComposeStatementPage(input));
  // No credit-balance heading: the identification table follows the template's line break.
  EXPECT_EQ(page[19], "<tr><td>");
  EXPECT_EQ(page[20], "");
  EXPECT_EQ(page[21], R"(<table cellpadding="0" cellspacing="0" width="100%"  border="0">)");
  // Empty filer fields leave their cells empty and the address its separators.
  for (const char* line :
       {R"(<td class="style2" colspan="3"></td>)", R"(<td class="style2">,  , </td>)"})
    EXPECT_NE(std::find(page.begin(), page.end(), line), page.end()) << line;
  // The heading row of the lines table is followed straight by the amount rows.
  ExpectLines(
      LinesFrom(page, kLinesTableHead.front()),
      Joined({
          kLinesTableHead,
          {
              R"(<tr><td class="style2" colspan="7">&nbsp;</td></tr>)",
              R"(<tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2" colspan="3">Αξία Λιανικών Πωλήσεων</td>)",
              R"(<td class="style2">&nbsp;</td>)",
              R"(<td class="style2">0</td></tr>)",
              R"(<tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td><td class="style2" colspan="3">Αξία συναλλαγών χωρίς υποχρέωση υποβολής στοιχείων στις αναλυτικές γραμμές</td>)",
              R"(<td class="style2">&nbsp;</td>)",
              R"(<td class="style2">0</td></tr>)",
              R"(<tr><td class="style2">&nbsp;</td><td class="style2">&nbsp;</td>)",
              R"(<td class="style2" colspan="3">ΣΥΝΟΛΟ</td>)",
              R"(<td class="style2"></td>)",
              R"(<td class="style2">0</td>)",
              "</tr></table></td></tr></table></body></html>",
          },
      }));
}

TEST(StatementPageTest, LineFieldsAsTheTableReadsThem) {
  const std::string padded = WorkingLine(Side::Customers, {.taxNumber = "123456783",
                                                           .name = " ΜΕ ΚΕΝΟ ΜΠΡΟΣΤΑ",
                                                           .obligation = "1",
                                                           .town = "ΧΑΝΙΑ",
                                                           .street = "",
                                                           .streetNumber = "3",
                                                           .invoiceCount = "1",
                                                           .value = "-2"});
  // A line cut short after the name: the fields beyond its end read as empty.
  const std::string shortLine = padded.substr(0, LineSpan(LineField::Name).end());
  const std::vector<std::string> lines = {padded, shortLine};
  StatementPageInput input;
  input.side = Side::Customers;
  input.lines = lines;
  const std::vector<std::string> page = PageLines(ComposeStatementPage(input));
  ExpectLines(LinesFrom(page, kLinesTableHead.front()),
              Joined({kLinesTableHead,
                      {
                          "<tr>",
                          R"(<td class="style2">1</td>)",
                          R"(<td class="style2">123456783</td>)",
                          R"(<td class="style2"> ΜΕ ΚΕΝΟ ΜΠΡΟΣΤΑ</td>)",
                          R"(<td class="style2">1</td>)",
                          R"(<td class="style2">ΧΑΝΙΑ,  3</td>)",
                          R"(<td class="style2">1</td>)",
                          R"(<td class="style2">-2</td>)",
                          "</tr>",
                          "<tr>",
                          R"(<td class="style2">2</td>)",
                          R"(<td class="style2">123456783</td>)",
                          R"(<td class="style2"> ΜΕ ΚΕΝΟ ΜΠΡΟΣΤΑ</td>)",
                          R"(<td class="style2"></td>)",
                          R"(<td class="style2">,  </td>)",
                          R"(<td class="style2"></td>)",
                          R"(<td class="style2"></td>)",
                          "</tr>",
                      },
                      InUtf8(LastLines(page, 12))}));
}

TEST(StatementPageTest, AmountsAreExactAndTextsThatAreNoNumbersCountAsZero) {
  struct Case {
    const char *retail, *withoutItemisation, *linesValue;
    const char *retailShown, *withoutItemisationShown, *total;
  };
  const Case cases[] = {
      {"1234,5", "", "", "1234,5", "0", "1234,5"},
      {"1000,00", "0,004", "", "1000", "0", "1000"},
      {"", "", "", "0", "0", "0"},
      {"abc", "0,005", "1,1", "0", "0,01", "1,11"},
      {"1.5", " 2,50 ", "0,00", "0", "2,5", "2,5"},
      // Each amount is rounded to cents before the sum, as the submission file adds them.
      {"0,004", "0,004", "0,004", "0", "0", "0"},
      {"-5", "2,5", "1", "-5", "2,5", "-1,5"},
      {"-0,5", "0,25", "0", "-0,5", "0,25", "-0,25"},
      {"92233720368547758,07", "92233720368547758,07", "1", "92233720368547758,07",
       "92233720368547758,07", "184467440737095517,14"},
      {"-92233720368547758,07", "-92233720368547758,07", "-0,01", "-92233720368547758,07",
       "-92233720368547758,07", "-184467440737095516,15"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.retail) + " | " + c.withoutItemisation + " | " + c.linesValue);
    StatementPageInput input;
    input.side = Side::Customers;
    input.retailSales = Text(c.retail);
    input.withoutItemisation = Text(c.withoutItemisation);
    input.valueTotal = Text(c.linesValue);
    input.invoiceTotal = Text("7");
    const std::vector<std::string> amounts = LastLines(PageLines(ComposeStatementPage(input)), 12);
    ASSERT_EQ(amounts.size(), 12u);
    EXPECT_EQ(amounts[3], std::string(R"(<td class="style2">)") + c.retailShown + "</td></tr>");
    EXPECT_EQ(amounts[6],
              std::string(R"(<td class="style2">)") + c.withoutItemisationShown + "</td></tr>");
    EXPECT_EQ(amounts[9], R"(<td class="style2">7</td>)");
    EXPECT_EQ(amounts[10], std::string(R"(<td class="style2">)") + c.total + "</td>");

    input.side = Side::Suppliers;
    input.retailSales = Text("");
    const std::vector<std::string> supplierAmounts =
        LastLines(PageLines(ComposeStatementPage(input)), 9);
    ASSERT_EQ(supplierAmounts.size(), 9u);
    EXPECT_EQ(supplierAmounts[3],
              std::string(R"(<td class="style2">)") + c.withoutItemisationShown + "</td>");
  }
}

TEST(StatementPageTest, FilerTextsAreEscaped) {
  StatementPageInput input;
  input.side = Side::Suppliers;
  input.filer = SampleFiler();
  input.filer.companyName = Text(R"(Ο "ΚΑΛΟΣ" & ΣΙΑ <ΟΕ>)");
  input.filer.town = Text("Α>Β");
  input.filer.taxOfficeName = Text("&&");
  // Markup past the first eight characters, at a word's start and at the text's end.
  input.filer.profession = Text("ΑΒΓΔΕΖΗΘ<ΙΚΛΜΝΞΟ&ΠΡΣΤΥΦΧ\"");
  input.invoiceTotal = Text("<1>");
  const std::vector<std::string> page = PageLines(ComposeStatementPage(input));
  for (const char* line : {
           R"(<td class="style2" colspan="3">Ο &quot;ΚΑΛΟΣ&quot; &amp; ΣΙΑ &lt;ΟΕ&gt;</td>)",
           R"(<td class="style2">Α&gt;Β, ΣΤΑΔΙΟΥ 10, 10564</td>)",
           R"(<td class="style2">&amp;&amp;</td>)",
           R"(<td class="style2">ΑΒΓΔΕΖΗΘ&lt;ΙΚΛΜΝΞΟ&amp;ΠΡΣΤΥΦΧ&quot;</td>)",
           R"(<td class="style2">&lt;1&gt;</td>)",
       }) {
    EXPECT_NE(std::find(page.begin(), page.end(), ToCp1253(line)), page.end()) << line;
  }
}

TEST(StatementPageTest, FilerFromHeaderFields) {
  HeaderFields header;
  header.year = Cp1253Text("2009");
  header.taxOfficeCode = Cp1253Text("1101");
  header.fileNumber = Cp1253Text("7");
  header.companyName = Cp1253Text("NAME");
  header.taxNumber = Cp1253Text("094014201");
  header.profession = Cp1253Text("PROF");
  header.town = Cp1253Text("TOWN");
  header.street = Cp1253Text("STREET");
  header.streetNumber = Cp1253Text("12");
  header.postCode = Cp1253Text("10564");
  header.telephone = Cp1253Text("2101234567");
  header.fax = Cp1253Text("2100000000");
  const PageFiler filer = PageFilerFromHeader(header, Cp1253Text(std::string("OFFICE")));
  const std::vector<std::string> shown = {
      filer.taxOfficeName.bytes(), filer.taxOfficeCode.bytes(), filer.year.bytes(),
      filer.fileNumber.bytes(),    filer.companyName.bytes(),   filer.taxNumber.bytes(),
      filer.profession.bytes(),    filer.town.bytes(),          filer.street.bytes(),
      filer.streetNumber.bytes(),  filer.postCode.bytes(),      filer.telephone.bytes()};
  EXPECT_EQ(shown,
            (std::vector<std::string>{"OFFICE", "1101", "2009", "7", "NAME", "094014201", "PROF",
                                      "TOWN", "STREET", "12", "10564", "2101234567"}));
}

TEST(StatementPageTest, FileNames) {
  EXPECT_EQ(StatementPageFileName(Side::Customers), "Pelates.htm");
  EXPECT_EQ(StatementPageFileName(Side::Suppliers), "Promitheftes.htm");
  EXPECT_EQ(StatementPdfFileName(Side::Customers), "Pelates.pdf");
  EXPECT_EQ(StatementPdfFileName(Side::Suppliers), "Promitheftes.pdf");
}

TEST(StatementPageTest, WritesThePageOrSaysWhyNot) {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "velmora-page-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path dir = pattern;

  const fs::path path = dir / StatementPageFileName(Side::Customers);
  StatementPageInput input;
  input.filer = SampleFiler();
  const Cp1253Text page = ComposeStatementPage(input);
  EXPECT_FALSE(WriteStatementPage(path.string(), Cp1253Text(std::string("old"))));
  EXPECT_FALSE(WriteStatementPage(path.string(), page));
  EXPECT_EQ(ReadFile(path), page.bytes());

  const auto failure = WriteStatementPage((dir / "missing" / "Pelates.htm").string(), page);
  ASSERT_TRUE(failure);
  EXPECT_TRUE(failure->warning);
  EXPECT_EQ(failure->message,
            std::string("Υπήρξε κάποιο πρόβλημα κατά την προετοιμασία της εκτύπωσης\n") +
                SystemReason(ENOENT));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace velmora
