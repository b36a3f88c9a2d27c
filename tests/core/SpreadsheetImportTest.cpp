#include <gtest/gtest.h>

#include <cerrno>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CsvReader.h"
#include "PlainText.h"
#include "RecordLayout.h"
#include "TestSupport.h"
#include "SheetImport.h"
#include "SpreadsheetReader.h"
#include "SheetReport.h"
#include "SystemReason.h"
#include "ZipArchiveCheck.h"

namespace velmora {
namespace {

using test::Pad;
using Reason = SheetReadFailure::Reason;

constexpr const char* kFilerAfm = "094019245";
constexpr std::string_view kOpeningFailed = "Υπήρξε πρόβλημα κατά το άνοιγμα του αρχείου.";
constexpr std::string_view kKindsRead = "Το πρόγραμμα διαβάζει αρχεία .xls, .xlsx, .ods και .csv.";

std::string Fixture(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / "../data/import" / name).string();
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A working line written out by hand from UTF-8 field texts, in grid order.
std::string ExpectedLine(Side side, const std::array<std::string, 10>& fields) {
  std::string line(1, LineRecordType(side));
  line += test::Blanks(5);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    line += Pad(*Utf8ToCp1253(fields[i]), LineSpan(kTypedLineFields[i]).width);
  }
  return line + test::Blanks(35);
}

// The sheet every format of the fixtures holds.
std::vector<std::string> SharedSheetLines(Side side) {
  return {
      ExpectedLine(side, {"123456783", "ΑΛΦΑ ΕΜΠΟΡΙΚΗ ΑΝΩΝΥΜΗ ΕΤΑΙΡ", "ΕΜΠΟΡΙΟ", "0", "ΑΘΗΝΑ",
                          "ΣΤΑΔΙΟΥ", "10", "10564", "3", "150,5"}),
      ExpectedLine(side, {"012345670", "Βήτα Ο.Ε.", "Γιατρός", "1", "Πάτρα", "Ερμού; Γωνία", "5Α",
                          "26221", "12", "12,5"}),
      ExpectedLine(side, {"99999999", "Γάμμα \"Δέλτα\", ΕΠΕ", "Ά€ΐ", "1", "Λάρισα", "Κύπρου", "",
                          "41222", "2", "0"}),
  };
}

// The lines as UTF-8, so that a failure shows them readably.
std::vector<std::string> Readable(const std::vector<Cp1253Text>& lines) {
  std::vector<std::string> readable;
  for (const auto& line : lines) readable.push_back(Cp1253ToUtf8(line.bytes()));
  return readable;
}
std::vector<std::string> Readable(const std::vector<std::string>& lines) {
  std::vector<std::string> readable;
  for (const auto& line : lines) readable.push_back(Cp1253ToUtf8(line));
  return readable;
}

// A cell value for building sheets in memory.
struct Value {
  enum { Empty, Number, Text } kind = Empty;
  double number = 0;
  std::string text;
  Value() = default;
  Value(double n) : kind(Number), number(n) {}   // NOLINT
  Value(const char* t) : kind(Text), text(t) {}  // NOLINT
};

Sheet MakeSheet(const std::vector<std::vector<Value>>& rows) {
  SheetBuilder builder;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const Value& v = rows[r][c];
      if (v.kind == Value::Number) builder.SetNumber(r, c, v.number);
      if (v.kind == Value::Text) builder.SetText(r, c, v.text);
    }
  }
  return std::move(builder).Finish();
}

// A row that passes, with the obligation code, invoice count and value given.
std::vector<Value> Row(Value code, Value count, Value value, Value afm = "123456783") {
  return {afm, "ΟΝΟΜΑ", "", code, "", "", "", "", count, value};
}

SheetImportResult Import(const std::vector<std::vector<Value>>& rows, Side side = Side::Customers) {
  return SheetToLines(MakeSheet(rows), side, kFilerAfm);
}

std::string RefusalOf(const SheetImportResult& result) {
  const auto* refusal = std::get_if<SheetImportRefusal>(&result);
  return refusal ? refusal->message : "(accepted)";
}

std::string RowError(int row, std::string_view rest) {
  return "Λάθος στη γραμμή " + std::to_string(row) + " του αρχείου: " + std::string(rest) +
         " Διορθώστε το για να προχωρήσετε στην εισαγωγή.";
}
const std::string kObligationRest = "Η στήλη Υπόχρεος (Νο 4) πρέπει να έχει τιμή 0 ή 1.";
const std::string kCountRest = "Η στήλη Αριθμός Τιμολογίων (Νο 9) πρέπει να έχει ακέραια τιμή.";
const std::string kValueRest =
    "Η στήλη Αξία (Νο 10) πρέπει να είναι αριθμός (η υποδιαστολή είναι το κόμμα).";
const std::string kAfmRest = "H στήλη ΑΦΜ (Νο 1) δεν περιέχει αποδεκτό ΑΦΜ.";  // Latin H
const std::string kFilerRest = "Το ΑΦΜ (στήλη Νο 1) είναι ίδιο με το ΑΦΜ του Υπόχρεου.";

TEST(SheetCellTextTest, NumbersInTheGeneralFormatWithTheComma) {
  const auto text = [](double n) {
    SheetCell cell;
    cell.kind = SheetCell::Kind::Number;
    cell.number = n;
    return CellText(cell);
  };
  EXPECT_EQ(text(0), "0");
  EXPECT_EQ(text(-0.0), "0");
  EXPECT_EQ(text(2), "2");
  EXPECT_EQ(text(3), "3");
  EXPECT_EQ(text(12.5), "12,5");
  EXPECT_EQ(text(-150.5), "-150,5");
  EXPECT_EQ(text(123456783), "123456783");
  EXPECT_EQ(text(0.1 + 0.2), "0,3");  // 15 significant digits hide the binary tail
  EXPECT_EQ(text(123456789012345), "123456789012345");
  EXPECT_EQ(text(1e15), "1E15");
  EXPECT_EQ(text(0.0001), "0,0001");
  EXPECT_EQ(text(1e-5), "1E-5");
  EXPECT_EQ(text(-1.5e-7), "-1,5E-7");

  SheetCell textCell;
  textCell.kind = SheetCell::Kind::Text;
  textCell.text = " 0012,50 ";
  EXPECT_EQ(CellText(textCell), " 0012,50 ");
  EXPECT_EQ(CellText(SheetCell{}), "");
}

TEST(SheetRowChecksTest, NumberSyntax) {
  EXPECT_TRUE(IsSheetWholeNumber("12"));
  EXPECT_TRUE(IsSheetWholeNumber("-3"));
  EXPECT_TRUE(IsSheetWholeNumber("2147483647"));
  EXPECT_FALSE(IsSheetWholeNumber("2147483648"));
  EXPECT_FALSE(IsSheetWholeNumber("2,5"));
  EXPECT_FALSE(IsSheetWholeNumber(""));

  EXPECT_TRUE(IsSheetDecimalNumber("12,5"));
  EXPECT_TRUE(IsSheetDecimalNumber("-150,5"));
  EXPECT_TRUE(IsSheetDecimalNumber("5,"));
  EXPECT_TRUE(IsSheetDecimalNumber(",5"));
  EXPECT_TRUE(IsSheetDecimalNumber("1E-5"));
  EXPECT_TRUE(IsSheetDecimalNumber("1,5e+3"));
  EXPECT_FALSE(IsSheetDecimalNumber("12.5"));
  EXPECT_FALSE(IsSheetDecimalNumber("1.000,5"));
  EXPECT_FALSE(IsSheetDecimalNumber("1,2,3"));
  EXPECT_FALSE(IsSheetDecimalNumber(","));
  EXPECT_FALSE(IsSheetDecimalNumber("1E"));
  EXPECT_FALSE(IsSheetDecimalNumber(""));
}

TEST(SheetRowChecksTest, ChecksRunInOrderAndNameTheRow) {
  // Headings in row 1 fail on the obligation column; so does an empty row.
  EXPECT_EQ(
      RefusalOf(Import({{"ΑΦΜ", "ΕΠΩΝΥΜΙΑ", "", "ΥΠΟΧΡΕΟΣ", "", "", "", "", "ΑΡΙΘΜΟΣ", "ΑΞΙΑ"},
                        Row(0.0, 1.0, 5.0)})),
      RowError(1, kObligationRest));
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, 5.0), {}, Row(0.0, 1.0, 5.0, "012345670")})),
            RowError(2, kObligationRest));
  EXPECT_EQ(RefusalOf(Import({Row(2.0, 1.0, 5.0)})), RowError(1, kObligationRest));
  EXPECT_EQ(RefusalOf(Import({Row(" 0", 1.0, 5.0)})), RowError(1, kObligationRest));

  // Two and a half invoices, as a number or as text; the count before the value.
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 2.5, "x")})), RowError(1, kCountRest));
  EXPECT_EQ(RefusalOf(Import({Row(0.0, "2,5", 5.0)})), RowError(1, kCountRest));
  // 12.5 as text is refused; the same value as a number is accepted.
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, "12.5")})), RowError(1, kValueRest));
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, ""), Row(0.0, 1.0, 5.0)})), RowError(1, kValueRest));
  // The value before the tax number.
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, "x", "123456789")})), RowError(1, kValueRest));
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, 5.0, "123456789")})), RowError(1, kAfmRest));
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, 5.0, 123456789.0)})), RowError(1, kAfmRest));
  // The filer's own number is refused whatever the code.
  EXPECT_EQ(RefusalOf(Import({Row(1.0, 1.0, 5.0, kFilerAfm)})), RowError(1, kFilerRest));
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, 5.0, kFilerAfm)})), RowError(1, kFilerRest));
  // An empty number is no one's, though the filer's box is empty too.
  EXPECT_EQ(RefusalOf(SheetToLines(MakeSheet({Row(1.0, 1.0, 5.0, "")}), Side::Customers, "")),
            "(accepted)");
  // The first failing row wins.
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, 5.0), Row(1.0, 1.0, 5.0, "1"), Row(0.0, 1.0, "?"),
                              Row(5.0, 1.0, 5.0)})),
            RowError(3, kValueRest));
}

TEST(SheetRowChecksTest, AcceptedRowsBecomeWorkingLines) {
  const auto result = Import({
      Row(0.0, 1.0, 12.5),                   // 0 as a number, 12.5 as a number
      Row("0", "2", "-150,5", "012345670"),  // 0 as text, a negative value
      Row(1.0, 0.0, 5.0, "123456789"),       // code 1: the check digit is not checked
      Row(1.0, "0007", "1,5E3", "ABC"),      // an exponent; the count as typed
      Row(1.0, 3.0, 1e-5, "12"),             // rounds to nothing
      Row(1.0, 3.0, "0,125", "13"),          // half away from zero
  });
  ASSERT_TRUE(std::holds_alternative<std::vector<Cp1253Text>>(result)) << RefusalOf(result);
  const auto lines = Readable(std::get<std::vector<Cp1253Text>>(result));
  const auto line = [](std::string afm, std::string code, std::string count, std::string value) {
    return ExpectedLine(Side::Customers, {afm, "ΟΝΟΜΑ", "", code, "", "", "", "", count, value});
  };
  EXPECT_EQ(lines, Readable(std::vector<std::string>{
                       line("123456783", "0", "1", "12,5"),
                       line("012345670", "0", "2", "150,5"),
                       line("123456789", "1", "0", "5"),
                       line("ABC", "1", "0007", "1500"),
                       line("12", "1", "3", "0"),
                       line("13", "1", "3", "0,13"),
                   }));

  const auto suppliers = Import({Row(0.0, 1.0, 12.5)}, Side::Suppliers);
  ASSERT_TRUE(std::holds_alternative<std::vector<Cp1253Text>>(suppliers));
  EXPECT_EQ(std::get<std::vector<Cp1253Text>>(suppliers).front().bytes()[0], '4');
}

TEST(SheetRowChecksTest, RefusesWhatTheLineCannotHold) {
  auto unrepresentable = Row(0.0, 1.0, 5.0);
  unrepresentable[1] = "Łódź ΑΕ";
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, 5.0, "012345670"), unrepresentable})),
            RowError(2,
                     "Η στήλη Επωνυμία (Νο 2) περιέχει τον χαρακτήρα «Ł», που δεν υπάρχει στην "
                     "ελληνική κωδικοσελίδα Windows-1253."));
  auto lineBreak = Row(0.0, 1.0, 5.0);
  lineBreak[5] = "ΣΤΑΔΙΟΥ\n10";
  EXPECT_EQ(RefusalOf(Import({lineBreak})),
            RowError(1, "Η στήλη Οδός (Νο 6) περιέχει αλλαγή γραμμής ή άλλο χαρακτήρα ελέγχου."));
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 12345678.0, 5.0)})),
            RowError(1, "Η στήλη Αριθμός Τιμολογίων (Νο 9) έχει περισσότερους από 7 χαρακτήρες."));
  const std::string tooLarge =
      RowError(1, "Η στήλη Αξία (Νο 10) έχει τιμή που δεν χωράει στο πεδίο της (16 χαρακτήρες).");
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, 1e20)})), tooLarge);
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, "12345678901234567")})), tooLarge);
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, "1E999999999999")})), tooLarge);
  EXPECT_EQ(RefusalOf(Import({Row(0.0, 1.0, "1234567890123,45")})), "(accepted)");

  // The data area must reach column 10.
  const auto narrow = Import({{"123456783", "", "", "0", "", "", "", "", "1"}});
  const auto* refusal = std::get_if<SheetImportRefusal>(&narrow);
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(refusal->row, 0);
  EXPECT_TRUE(refusal->message.starts_with(kOpeningFailed));
  EXPECT_NE(refusal->message.find("στήλη 10"), std::string::npos);
}

TEST(SheetRowChecksTest, LargeSheetsKeepRowOrderAndTheFirstRefusal) {
  // Large sheets are converted in parts; the lines and the refusal must still be
  // those of one pass from row 1 on.
  constexpr int kRows = 20'000;
  std::vector<std::vector<Value>> rows;
  for (int r = 0; r < kRows; ++r) rows.push_back(Row(1.0, static_cast<double>(r + 1), 5.0, "12"));
  const auto whole = Import(rows);
  ASSERT_TRUE(std::holds_alternative<std::vector<Cp1253Text>>(whole)) << RefusalOf(whole);
  const auto& lines = std::get<std::vector<Cp1253Text>>(whole);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kRows));
  const ColumnSpan count = LineSpan(LineField::InvoiceCount);
  for (int r = 0; r < kRows; ++r) {
    ASSERT_EQ(WithoutTrailingBlanks(
                  lines[static_cast<std::size_t>(r)].view().substr(count.offset, count.width)),
              std::to_string(r + 1));
  }

  rows[17'000][3] = "2";
  EXPECT_EQ(RefusalOf(Import(rows)), RowError(17'001, kObligationRest));
  rows[3'000][9] = "x";
  EXPECT_EQ(RefusalOf(Import(rows)), RowError(3'001, kValueRest));
}

TEST(SheetBuilderTest, AreaFromValuesLaterValueWinsWithinLimits) {
  SheetBuilder builder;
  builder.SetText(2, 1, "late");
  builder.SetNumber(0, 0, 1);
  builder.SetNumber(0, 0, 2);  // overwrites
  builder.SetText(1, 4, "");   // empty text does not widen the area
  builder.SetNumber(4, 0, 7);
  builder.SetEmpty(4, 0);  // a formula whose result is empty
  const Sheet sheet = std::move(builder).Finish();
  EXPECT_EQ(sheet.RowCount(), 3);
  EXPECT_EQ(sheet.ColumnCount(), 2);
  EXPECT_EQ(sheet.Cell(0, 0).number, 2);
  EXPECT_EQ(sheet.Cell(2, 1).text, "late");
  EXPECT_EQ(sheet.Cell(1, 1).kind, SheetCell::Kind::Empty);
  EXPECT_EQ(sheet.Cell(9, 9).kind, SheetCell::Kind::Empty);

  SheetBuilder far;
  far.SetNumber(SheetBuilder::kMaxRows, 0, 1);
  EXPECT_TRUE(far.TooLarge());
  SheetBuilder wide;
  wide.SetText(0, SheetBuilder::kMaxColumns, "x");
  EXPECT_TRUE(wide.TooLarge());
}

TEST(CsvReaderTest, QuotedFieldsSeparatorsAndEncodings) {
  const auto read = [](std::string_view bytes) {
    auto result = ReadCsvSheet(std::string(bytes));
    EXPECT_TRUE(std::holds_alternative<Sheet>(result));
    return std::get<Sheet>(std::move(result));
  };
  const Sheet quoted = read("a;\"b;c\";\"say \"\"hi\"\"\";\"two\r\nlines\"\r\nx;;z\r\n");
  EXPECT_EQ(quoted.RowCount(), 2);
  EXPECT_EQ(quoted.ColumnCount(), 4);
  EXPECT_EQ(quoted.Cell(0, 1).text, "b;c");
  EXPECT_EQ(quoted.Cell(0, 2).text, "say \"hi\"");
  EXPECT_EQ(quoted.Cell(0, 3).text, "two\r\nlines");
  EXPECT_EQ(quoted.Cell(1, 1).kind, SheetCell::Kind::Empty);
  EXPECT_EQ(quoted.Cell(1, 2).text, "z");

  // The first line decides the separator.
  const Sheet commas = read("a,\"1,5\"\rb;c,d");
  EXPECT_EQ(commas.Cell(0, 1).text, "1,5");
  EXPECT_EQ(commas.Cell(1, 0).text, "b;c");
  EXPECT_EQ(commas.Cell(1, 1).text, "d");

  // UTF-8 with its mark, UTF-8 without, else Windows-1253.
  EXPECT_EQ(read("\xEF\xBB\xBFΑΒ;1").Cell(0, 0).text, "ΑΒ");
  EXPECT_EQ(read("ΑΒ;1").Cell(0, 0).text, "ΑΒ");
  EXPECT_EQ(read("\xC1\xC2;\xA2").Cell(0, 0).text, "ΑΒ");
  EXPECT_EQ(read("\xC1\xC2;\xA2").Cell(0, 1).text, "Ά");

  // An unfinished quote runs to the end; blank lines at the end add no rows.
  const Sheet open = read("\"a;b\nc\n\n\n");
  EXPECT_EQ(open.RowCount(), 1);
  EXPECT_EQ(open.Cell(0, 0).text, "a;b\nc\n\n\n");
  EXPECT_EQ(read("a\n\n\n").RowCount(), 1);

  const auto empty = ReadCsvSheet("\r\n;;\r\n");
  ASSERT_TRUE(std::holds_alternative<SheetReadFailure>(empty));
  EXPECT_EQ(std::get<SheetReadFailure>(empty).reason, Reason::Empty);
}

TEST(SpreadsheetReaderTest, EveryFormatGivesTheSameLines) {
  for (const char* name :
       {"lines.xlsx", "lines-inline.xlsx", "lines.xls", "lines.ods", "lines-utf8.csv",
        "lines-utf8-bom.csv", "lines-cp1253.csv", "formula.xlsx", "formula.ods"}) {
    SCOPED_TRACE(name);
    const SheetReadResult read = ReadFirstSheet(Fixture(name));
    ASSERT_TRUE(std::holds_alternative<Sheet>(read))
        << SheetReadFailureMessage(std::get<SheetReadFailure>(read));
    const Sheet& sheet = std::get<Sheet>(read);
    EXPECT_EQ(sheet.RowCount(), 3);
    EXPECT_GE(sheet.ColumnCount(), 10);
    for (const Side side : {Side::Customers, Side::Suppliers}) {
      const SheetImportResult lines = SheetToLines(sheet, side, kFilerAfm);
      ASSERT_TRUE(std::holds_alternative<std::vector<Cp1253Text>>(lines)) << RefusalOf(lines);
      EXPECT_EQ(Readable(std::get<std::vector<Cp1253Text>>(lines)),
                Readable(SharedSheetLines(side)));
    }
  }
}

TEST(SpreadsheetReaderTest, BrokenAndHostileFilesEndInAFailure) {
  const auto reasonOf = [](const std::string& path) {
    const SheetReadResult read = ReadFirstSheet(path);
    const auto* failure = std::get_if<SheetReadFailure>(&read);
    return failure ? failure->reason : static_cast<Reason>(-1);
  };
  EXPECT_EQ(reasonOf(Fixture("truncated.xlsx")), Reason::Damaged);
  EXPECT_EQ(reasonOf(Fixture("truncated.xls")), Reason::Damaged);
  EXPECT_EQ(reasonOf(Fixture("random.xls")), Reason::NotASpreadsheet);
  EXPECT_EQ(reasonOf(Fixture("zip-bomb.xlsx")), Reason::TooLarge);
  EXPECT_EQ(reasonOf(Fixture("empty.xlsx")), Reason::Empty);
  // Made to hang or swell the reader: refused before the library expands them.
  const std::string seeds = Fixture("../../fuzz/corpus/spreadsheet/");
  EXPECT_EQ(reasonOf(seeds + "repeat-bomb.ods"), Reason::TooLarge);
  EXPECT_EQ(reasonOf(seeds + "shared-string-bomb.xlsx"), Reason::TooLarge);
  EXPECT_EQ(reasonOf(Fixture("make-fixtures.sh")), Reason::NotASpreadsheet);

  // A password-protected .xlsx is a compound file with an encrypted package in it:
  // FreeXL finds no workbook there, and the stream's name tells why.
  test::TempFolder folder;
  const std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(504, '\0'));
  const std::string encrypted = compound + std::string(
                                               "E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0"
                                               "a\0c\0k\0a\0g\0e\0",
                                               32);
  test::WriteBytes(folder.Path() + "/locked.xlsx", encrypted);
  test::WriteBytes(folder.Path() + "/plain.xls", compound);
  EXPECT_EQ(reasonOf(folder.Path() + "/locked.xlsx"), Reason::PasswordProtected);
  EXPECT_NE(reasonOf(folder.Path() + "/plain.xls"), Reason::PasswordProtected);

  const SheetReadResult missing = ReadFirstSheet(Fixture("no-such-file.xlsx"));
  ASSERT_TRUE(std::holds_alternative<SheetReadFailure>(missing));
  EXPECT_EQ(std::get<SheetReadFailure>(missing).reason, Reason::CannotRead);
  EXPECT_EQ(std::get<SheetReadFailure>(missing).systemReason, SystemReason(ENOENT));

  const SheetReadResult formula = ReadFirstSheet(Fixture("formula-no-result.xlsx"));
  ASSERT_TRUE(std::holds_alternative<SheetReadFailure>(formula));
  const SheetReadFailure& noResult = std::get<SheetReadFailure>(formula);
  EXPECT_EQ(noResult.reason, Reason::FormulaWithoutResult);
  EXPECT_EQ(noResult.row, 1);
  EXPECT_EQ(noResult.column, 10);
  EXPECT_TRUE(SheetReadFailureMessage(noResult).starts_with("Λάθος στη γραμμή 1 του αρχείου: "));

  // Headings in row 1 read fine and fail the row checks.
  const SheetReadResult headings = ReadFirstSheet(Fixture("headings.xlsx"));
  ASSERT_TRUE(std::holds_alternative<Sheet>(headings));
  EXPECT_EQ(RefusalOf(SheetToLines(std::get<Sheet>(headings), Side::Customers, kFilerAfm)),
            RowError(1, kObligationRest));
}

TEST(SpreadsheetReaderTest, XlsIsReadByAHelperWhoseReportIsCheckedWhole) {
  // A workbook on which FreeXL reads past its own buffers: refused, and this
  // process is untouched.
  const SheetReadResult overread = ReadFirstSheet(Fixture("overread.xls"));
  ASSERT_TRUE(std::holds_alternative<SheetReadFailure>(overread));

  const SheetReadResult read = ReadFirstSheet(Fixture("lines.xls"));
  ASSERT_TRUE(std::holds_alternative<Sheet>(read));
  const std::string report = EncodeSheetResult(read);
  const SheetReadResult again = DecodeSheetResult(report);
  ASSERT_TRUE(std::holds_alternative<Sheet>(again));
  EXPECT_EQ(Readable(std::get<std::vector<Cp1253Text>>(
                SheetToLines(std::get<Sheet>(again), Side::Customers, kFilerAfm))),
            Readable(SharedSheetLines(Side::Customers)));
  for (const std::size_t cut :
       {std::size_t{0}, std::size_t{1}, report.size() / 2, report.size() - 1}) {
    const SheetReadResult partial = DecodeSheetResult(std::string_view(report).substr(0, cut));
    ASSERT_TRUE(std::holds_alternative<SheetReadFailure>(partial));
    EXPECT_EQ(std::get<SheetReadFailure>(partial).reason, Reason::Damaged);
  }
  EXPECT_EQ(std::get<SheetReadFailure>(DecodeSheetResult(report + "E")).reason, Reason::Damaged);

  // The report comes in pieces cut anywhere, records included: the same sheet.
  for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
    SheetReportReader reader;
    for (std::size_t at = 0; at < report.size(); at += piece)
      ASSERT_TRUE(reader.Feed(std::string_view(report).substr(at, piece)));
    const SheetReadResult pieced = std::move(reader).Finish();
    ASSERT_TRUE(std::holds_alternative<Sheet>(pieced));
    EXPECT_EQ(EncodeSheetResult(pieced), report);
  }
  // A reader that fails after some cells: its failure, not the cells.
  std::string failedLate;
  SheetReportWriter writer([&failedLate](std::string_view piece) {
    failedLate += piece;
    return true;
  });
  writer.Text(0, 0, "ΑΘΗΝΑ");
  SheetReadFailure password(Reason::PasswordProtected);
  writer.End(password);
  const SheetReadResult late = DecodeSheetResult(failedLate);
  ASSERT_TRUE(std::holds_alternative<SheetReadFailure>(late));
  EXPECT_EQ(std::get<SheetReadFailure>(late).reason, Reason::PasswordProtected);
}

TEST(SpreadsheetReaderTest, FailureMessagesSayWhatAndWhichKinds) {
  for (const Reason reason :
       {Reason::CannotRead, Reason::ReaderMissing, Reason::NotASpreadsheet, Reason::Damaged,
        Reason::PasswordProtected, Reason::Empty, Reason::TooLarge}) {
    SheetReadFailure failure(reason);
    failure.systemReason = "Permission denied";
    const std::string message = SheetReadFailureMessage(failure);
    EXPECT_TRUE(message.starts_with(std::string(kOpeningFailed) + " ")) << message;
    EXPECT_TRUE(message.ends_with(kKindsRead)) << message;
    EXPECT_GT(message.size(), kOpeningFailed.size() + kKindsRead.size() + 20) << message;
    EXPECT_EQ(message.find("Excel"), std::string::npos);
    EXPECT_EQ(message.find("εγκατ"), std::string::npos);
  }
  EXPECT_NE(SheetReadFailureMessage(SheetReadFailure(Reason::CannotRead)).find(": "),
            std::string::npos);
}

TEST(ZipArchiveCheckTest, DeclaredSizesAndBoundsAreChecked) {
  const std::string workbook = ReadBytes(Fixture("lines.xlsx"));
  const ZipArchiveCheck sound = CheckZipArchive(workbook);
  EXPECT_EQ(sound.verdict, ZipArchiveCheck::Verdict::Sound);
  EXPECT_NE(std::find(sound.entryNames.begin(), sound.entryNames.end(), "xl/workbook.xml"),
            sound.entryNames.end());
  // The same archive against a smaller budget.
  EXPECT_EQ(CheckZipArchive(workbook, 1000).verdict, ZipArchiveCheck::Verdict::TooLarge);
  // Every cut of the archive is refused, never read past its end.
  for (std::size_t size = 0; size < workbook.size(); size += 97) {
    EXPECT_NE(CheckZipArchive(std::string_view(workbook).substr(0, size)).verdict,
              ZipArchiveCheck::Verdict::Sound)
        << size;
  }
  // A directory said to lie beyond the end record.
  std::string moved = workbook;
  const auto end = moved.rfind("PK\x05\x06");
  moved[end + 16] = '\xFF';
  moved[end + 17] = '\xFF';
  EXPECT_EQ(CheckZipArchive(moved).verdict, ZipArchiveCheck::Verdict::Damaged);
}

}  // namespace
}  // namespace velmora
