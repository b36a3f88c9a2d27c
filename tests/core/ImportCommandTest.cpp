#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ImportCommand.h"
#include "RecordLayout.h"
#include "RecordingListener.h"
#include "ScriptedQuestions.h"
#include "Statement.h"
#include "TestSupport.h"
#include "WorkingFiles.h"

namespace velmora {
namespace {

using test::ReadBytes;
using test::ScriptedQuestions;
using test::TempFolder;
using test::WriteBytes;

constexpr const char* kFiler = "094019245";

std::string Fixture(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / "../data/import" / name).string();
}

// A tax number that passes its check digit, one for each index.
std::string TaxNumber(int index) {
  std::string digits = std::to_string(10'000'000 + index);
  int sum = 0;
  for (int k = 0; k < 8; ++k) sum += (digits[static_cast<std::size_t>(k)] - '0') << (8 - k);
  return digits + static_cast<char>('0' + sum % 11 % 10);
}

struct Row {
  std::string taxNumber, obligation, invoices, value, name = "ΕΠΩΝΥΜΙΑ";
};

// A working line as the sheet conversion makes it (ASCII and Greek letters of the
// code page only, so the UTF-8 name is converted by hand).
std::string LineOf(Side side, const Row& row) {
  std::string line(kRecordLength, ' ');
  line[LineSpan(LineField::RecordType).offset] = LineRecordType(side);
  const auto put = [&line](LineField field, const std::string& text) {
    const ColumnSpan span = LineSpan(field);
    line.replace(span.offset, std::min(text.size(), span.width), text.substr(0, span.width));
  };
  put(LineField::TaxNumber, row.taxNumber);
  put(LineField::Name, *Utf8ToCp1253(row.name));
  put(LineField::Obligation, row.obligation);
  put(LineField::InvoiceCount, row.invoices);
  put(LineField::Value, row.value);
  return line;
}

// A statement in a folder of its own, with lines already stored as typed.
struct TestStatement {
  explicit TestStatement(const std::vector<Row>& stored = {}, Side side = Side::Customers)
      : statement(folder.Path()) {
    statement.Reset();
    statement.SetFilerTaxNumber(Cp1253Text(kFiler));
    statement.SetListener(&refusalsHeard);
    for (const Row& row : stored) EXPECT_TRUE(Type(side, LineOf(side, row)));
  }

  // Stores a line as the grid does: a new line, its fields set, then the store.
  bool Type(Side side, const std::string& line) {
    RecordTable& table = statement.Table(side);
    table.BeginAppend();
    for (const LineField field : kTypedLineFields) {
      const ColumnSpan span = LineSpan(field);
      std::string text = line.substr(span.offset, span.width);
      text.erase(text.find_last_not_of(' ') + 1);
      table.SetFieldText(LineFieldName(side, field), text);
    }
    const bool stored = table.PostRecord();
    if (!stored) refusals.push_back(refusalsHeard.refusals.back().second);
    return stored;
  }

  std::string File(Side side) const {
    return ReadBytes(statement.Files().Path(
        side == Side::Customers ? WorkingFiles::kCustomerLines : WorkingFiles::kSupplierLines));
  }
  std::string Snapshot(Side side) const {
    return ReadBytes(statement.Files().Path(side == Side::Customers
                                                ? WorkingFiles::kCustomerSnapshot
                                                : WorkingFiles::kSupplierSnapshot));
  }

  TempFolder folder;
  test::RecordingListener refusalsHeard;
  Statement statement;
  std::vector<std::string> refusals;
};

// Everything a user or a later command could tell apart after an import.
void ExpectSameOutcome(TestStatement& bulk, TestStatement& oneByOne, Side side,
                       const std::string& variant) {
  SCOPED_TRACE(variant);
  const RecordTable& a = bulk.statement.Table(side);
  const RecordTable& b = oneByOne.statement.Table(side);
  EXPECT_EQ(a.Lines(), b.Lines());
  EXPECT_EQ(bulk.File(side), oneByOne.File(side));
  EXPECT_EQ(bulk.Snapshot(side), oneByOne.Snapshot(side));
  EXPECT_EQ(bulk.File(side), test::CrLf(a.Lines()));
  EXPECT_EQ(bulk.statement.InvoiceTotalText(side), oneByOne.statement.InvoiceTotalText(side));
  EXPECT_EQ(bulk.statement.ValueTotalText(side), oneByOne.statement.ValueTotalText(side));
  EXPECT_EQ(a.State(), b.State());
  EXPECT_EQ(a.RecordText(), b.RecordText());
  EXPECT_EQ(a.PendingInsertIndex(), b.PendingInsertIndex());
  EXPECT_EQ(a.CurrentIndex(), b.CurrentIndex());
  EXPECT_EQ(bulk.refusals, oneByOne.refusals);
}

// The details' lines, each "Λάθος στη γραμμή <row> του αρχείου: " and the expected
// message for that row, in order.
std::vector<std::string> ExpectRowsListed(
    const std::string& details, const std::vector<std::pair<int, std::string>>& expected) {
  std::vector<std::string> listed;
  for (std::size_t start = 0, end; (end = details.find('\n', start)) != std::string::npos;
       start = end + 1)
    listed.push_back(details.substr(start, end - start));
  EXPECT_EQ(listed.size(), expected.size()) << details;
  for (std::size_t i = 0; i < std::min(listed.size(), expected.size()); ++i) {
    const std::string lead =
        "Λάθος στη γραμμή " + std::to_string(expected[i].first) + " του αρχείου: ";
    EXPECT_EQ(listed[i].rfind(lead + expected[i].second, 0), 0u) << listed[i];
  }
  return listed;
}

TEST(ImportCommand, StoringInOneGoMatchesStoringRowByRow) {
  const std::vector<Row> stored = {{TaxNumber(1), "0", "2", "10,5"},
                                   {TaxNumber(2), "1", "1", "3"},
                                   {TaxNumber(3), "1", "4", "0"}};
  struct Variant {
    const char* name;
    Side side;
    std::vector<Row> rows;
  };
  const std::vector<Variant> variants = {
      {"clean, values normalised",
       Side::Customers,
       {{TaxNumber(10), "0", "3", "12,345"},
        {TaxNumber(11), "1", "007", "0012"},
        {"99999999", "1", "2", "0"},
        {TaxNumber(12), "0", "1", "0,50"}}},
      {"duplicate of an earlier imported row",
       Side::Customers,
       {{TaxNumber(10), "0", "3", "1"},
        {TaxNumber(11), "0", "1", "2"},
        {TaxNumber(10), "0", "5", "6"},
        {TaxNumber(12), "0", "1", "2"}}},
      {"same number, other code, then a duplicate of the first",
       Side::Suppliers,
       {{TaxNumber(10), "1", "3", "1"},
        {TaxNumber(10), "0", "1", "2"},
        {TaxNumber(10), "0", "1", "2"},
        {TaxNumber(10), "1", "1", "2"}}},
      {"duplicate of a stored line",
       Side::Customers,
       {{TaxNumber(10), "0", "3", "1"}, {TaxNumber(2), "1", "1", "2"}}},
      {"the filer's own number",
       Side::Suppliers,
       {{TaxNumber(10), "0", "3", "1"}, {kFiler, "1", "1", "2"}}},
      {"bad check digit",
       Side::Customers,
       {{TaxNumber(10), "0", "3", "1"}, {"123456789", "0", "1", "2"}}},
      {"first row refused", Side::Customers, {{TaxNumber(20), "0", "0", "10"}}},
      {"customer without invoices, a supplier's is stored",
       Side::Suppliers,
       {{TaxNumber(20), "0", "0", "10"}, {TaxNumber(21), "0", "1", "0"}}},
  };
  for (const Variant& variant : variants) {
    std::vector<Cp1253Text> lines;
    for (const Row& row : variant.rows) lines.emplace_back(LineOf(variant.side, row));

    TestStatement bulk(stored, variant.side);
    TestStatement oneByOne(stored, variant.side);
    const AppendedLines appended = bulk.statement.AppendLines(variant.side, lines);
    if (appended.refusal) bulk.refusals.push_back(appended.refusal->message);
    std::size_t typed = 0;
    for (const Cp1253Text& line : lines) {
      if (!oneByOne.Type(variant.side, line.bytes())) break;
      ++typed;
    }
    EXPECT_EQ(appended.stored, typed) << variant.name;
    EXPECT_EQ(appended.refusal.has_value(), typed < lines.size()) << variant.name;
    ExpectSameOutcome(bulk, oneByOne, variant.side, variant.name);

    // The refused line is pending as a new line: storing it again meets the same check.
    if (appended.refusal) {
      bulk.statement.Table(variant.side).CancelRecord();
      oneByOne.statement.Table(variant.side).CancelRecord();
      ASSERT_FALSE(bulk.Type(variant.side, lines[typed].bytes()));
      ASSERT_FALSE(oneByOne.Type(variant.side, lines[typed].bytes()));
      EXPECT_EQ(bulk.refusals.back(), oneByOne.refusals.back()) << variant.name;
    }
  }
}

TEST(ImportCommand, LargeImportsCheckedInTwoHalvesMatchSmallRuns) {
  // Large enough that the lines' own checks are shared with a second thread; the
  // duplicate in the second half repeats a line of the first.
  std::vector<Cp1253Text> lines;
  for (int i = 0; i < 9000; ++i) {
    const int number = i == 8500 ? 4600 : i;
    lines.emplace_back(
        LineOf(Side::Customers, {TaxNumber(100 + number), "0", std::to_string(1 + i % 7),
                                 std::to_string(i) + (i % 3 == 0 ? ",50" : "")}));
  }
  for (const bool withDuplicate : {false, true}) {
    std::vector<Cp1253Text> given = lines;
    if (!withDuplicate) given.resize(8500);
    const std::vector<Row> stored = {{TaxNumber(1), "0", "2", "10,5"}};
    TestStatement bulk(stored);
    TestStatement inRuns(stored);
    const AppendedLines whole = bulk.statement.AppendLines(Side::Customers, given);
    std::size_t storedInRuns = 0;
    std::optional<LineVerdict> refusedInRuns;
    for (std::size_t at = 0; at < given.size() && !refusedInRuns; at += 1000) {
      const auto end =
          given.begin() + static_cast<std::ptrdiff_t>(std::min(at + 1000, given.size()));
      const AppendedLines run = inRuns.statement.AppendLines(
          Side::Customers, {given.begin() + static_cast<std::ptrdiff_t>(at), end});
      storedInRuns += run.stored;
      refusedInRuns = run.refusal;
    }
    EXPECT_EQ(whole.stored, withDuplicate ? 8500u : given.size());
    EXPECT_EQ(whole.stored, storedInRuns);
    ASSERT_EQ(whole.refusal.has_value(), withDuplicate);
    if (withDuplicate) {
      EXPECT_EQ(whole.refusal->message, refusedInRuns->message);
    }
    ExpectSameOutcome(bulk, inRuns, Side::Customers, withDuplicate ? "duplicate" : "clean");
  }
}

TEST(ImportCommand, StoppingTheProgressStoresNothing) {
  TestStatement bulk({{TaxNumber(1), "0", "2", "10,5"}});
  const std::string before = bulk.File(Side::Customers);
  std::vector<Cp1253Text> lines;
  for (int i = 0; i < 5000; ++i)
    lines.emplace_back(LineOf(Side::Customers, {TaxNumber(100 + i), "0", "1", "1"}));
  std::vector<std::size_t> reported;
  const AppendedLines appended =
      bulk.statement.AppendLines(Side::Customers, lines, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, lines.size());
        reported.push_back(done);
        return reported.size() < 2;
      });
  EXPECT_TRUE(appended.cancelled);
  EXPECT_EQ(appended.stored, 0u);
  EXPECT_EQ(reported, (std::vector<std::size_t>{0, 2048}));
  EXPECT_EQ(bulk.statement.Table(Side::Customers).RecordCount(), 1);
  EXPECT_EQ(bulk.File(Side::Customers), before);
}

// The lines of the sheet every fixture holds, as the working file holds them.
std::vector<std::string> FixtureLines(Side side) {
  const auto line = [side](const char* number, const char* obligation, const char* invoices,
                           const char* value) {
    return LineOf(side, {number, obligation, invoices, value});
  };
  return {line("123456783", "0", "3", "150,5"), line("012345670", "1", "12", "12,5"),
          line("99999999", "1", "2", "0")};
}

// The fields the line checks read; the reader's own tests cover the rest.
std::string CheckedFields(const std::string& line) {
  std::string fields;
  for (const LineField field : {LineField::RecordType, LineField::TaxNumber, LineField::Obligation,
                                LineField::InvoiceCount, LineField::Value, LineField::Filler}) {
    fields += std::string(LineSpan(field).In(line)) + "|";
  }
  return fields;
}

TEST(ImportCommand, ImportsEveryKindOfFileAfterTheStoredLines) {
  for (const char* name : {"lines.xlsx", "lines.xls", "lines.ods", "lines-utf8.csv",
                           "lines-utf8-bom.csv", "lines-cp1253.csv"}) {
    for (const Side side : {Side::Customers, Side::Suppliers}) {
      SCOPED_TRACE(std::string(name) + (side == Side::Customers ? " customers" : " suppliers"));
      TestStatement target({{TaxNumber(1), "0", "2", "10,5"}}, side);
      ScriptedQuestions questions;
      questions.ExpectChoice(kImportQuestion, side == Side::Customers ? 0 : 1);
      questions.ExpectOpenFile(Fixture(name));
      const ImportOutcome outcome = ImportSpreadsheet(target.statement, questions);

      EXPECT_TRUE(questions.AllAnswered());
      EXPECT_EQ(questions.choiceCaptions,
                (std::vector<std::vector<std::string>>{{"Πελατών", "Προμ/τών", "Ακύρωση"}}));
      EXPECT_EQ(questions.filters, (std::vector<std::string>{kSpreadsheetFilter}));
      EXPECT_TRUE(questions.messages.empty()) << questions.messages.front();
      EXPECT_TRUE(questions.warnings.empty());
      EXPECT_EQ(outcome.changedSide, side);
      EXPECT_EQ(outcome.linesStored, 3u);
      EXPECT_TRUE(target.statement.Modified());
      ASSERT_FALSE(questions.progress.empty());
      EXPECT_EQ(questions.progress.back(), std::make_pair(std::size_t{3}, std::size_t{3}));

      const RecordTable& table = target.statement.Table(side);
      ASSERT_EQ(table.RecordCount(), 4);
      EXPECT_EQ(table.LineAt(0), LineOf(side, {TaxNumber(1), "0", "2", "10,5"}));
      const auto expected = FixtureLines(side);
      for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CheckedFields(table.LineAt(i + 1)),
                  CheckedFields(expected[static_cast<std::size_t>(i)]));
      EXPECT_EQ(target.statement.InvoiceTotalText(side), Cp1253Text("19"));
      EXPECT_EQ(target.statement.ValueTotalText(side), Cp1253Text("173,50"));
      EXPECT_EQ(target.File(side), test::CrLf(table.Lines()));
      // The other side is left alone.
      const Side other = side == Side::Customers ? Side::Suppliers : Side::Customers;
      EXPECT_EQ(target.statement.Table(other).RecordCount(), 0);
    }
  }
}

TEST(ImportCommand, RefusedSheetsAndAnswersImportNothing) {
  TestStatement target({{TaxNumber(1), "0", "2", "10,5"}});
  const std::string before = target.File(Side::Customers);
  const auto expectUnchanged = [&](const ImportOutcome& outcome) {
    EXPECT_FALSE(outcome.changedSide.has_value());
    EXPECT_EQ(target.statement.Table(Side::Customers).RecordCount(), 1);
    EXPECT_EQ(target.statement.Table(Side::Suppliers).RecordCount(), 0);
    EXPECT_EQ(target.File(Side::Customers), before);
    EXPECT_FALSE(target.statement.Modified());
  };
  {
    SCOPED_TRACE("a heading row");
    ScriptedQuestions questions;
    questions.ExpectChoice(kImportQuestion, 0);
    questions.ExpectOpenFile(Fixture("headings.xlsx"));
    expectUnchanged(ImportSpreadsheet(target.statement, questions));
    EXPECT_EQ(questions.messages,
              (std::vector<std::string>{
                  "Λάθος στη γραμμή 1 του αρχείου: Η στήλη Υπόχρεος (Νο 4) πρέπει να έχει τιμή 0 "
                  "ή 1. Διορθώστε το για να προχωρήσετε στην εισαγωγή."}));
    EXPECT_EQ(questions.beeps, 0);
    EXPECT_EQ(questions.busyShown, 1);
  }
  {
    SCOPED_TRACE("a bad third row after two good ones");
    const std::string path = target.folder.Path("bad.csv");
    WriteBytes(path, TaxNumber(5) + ";Α;;0;;;;;1;5\r\n" + TaxNumber(6) + ";Β;;1;;;;;2;6\r\n" +
                         TaxNumber(7) + ";Γ;;0;;;;;2,5;7\r\n");
    ScriptedQuestions questions;
    questions.ExpectChoice(kImportQuestion, 1);
    questions.ExpectOpenFile(path);
    expectUnchanged(ImportSpreadsheet(target.statement, questions));
    ASSERT_EQ(questions.messages.size(), 1u);
    EXPECT_EQ(questions.messages[0].rfind("Λάθος στη γραμμή 3 του αρχείου: Η στήλη Αριθμός "
                                          "Τιμολογίων (Νο 9)",
                                          0),
              0u);
  }
  {
    SCOPED_TRACE("a damaged file");
    ScriptedQuestions questions;
    questions.ExpectChoice(kImportQuestion, 0);
    questions.ExpectOpenFile(Fixture("truncated.xlsx"));
    expectUnchanged(ImportSpreadsheet(target.statement, questions));
    ASSERT_EQ(questions.messages.size(), 1u);
    EXPECT_EQ(questions.messages[0].rfind("Υπήρξε πρόβλημα κατά το άνοιγμα του αρχείου.", 0), 0u);
  }
  {
    SCOPED_TRACE("cancelled question, closed question, cancelled file dialog");
    ScriptedQuestions questions;
    questions.ExpectChoice(kImportQuestion, 2);
    questions.ExpectChoice(kImportQuestion, std::nullopt);
    questions.ExpectChoice(kImportQuestion, 0);
    questions.ExpectOpenFile(std::nullopt);
    for (int i = 0; i < 3; ++i) expectUnchanged(ImportSpreadsheet(target.statement, questions));
    EXPECT_TRUE(questions.AllAnswered());
    EXPECT_TRUE(questions.messages.empty());
  }
  {
    SCOPED_TRACE("a pending line refused: no question");
    ScriptedQuestions questions;
    questions.SetPendingLineStored(false);
    expectUnchanged(ImportSpreadsheet(target.statement, questions));
    EXPECT_TRUE(questions.choiceCaptions.empty());
  }
  {
    SCOPED_TRACE("stopped through the progress");
    ScriptedQuestions questions;
    questions.ExpectChoice(kImportQuestion, 0);
    questions.ExpectOpenFile(Fixture("lines.ods"));
    questions.StopAtProgressReport(0);
    expectUnchanged(ImportSpreadsheet(target.statement, questions));
    EXPECT_TRUE(questions.messages.empty());
  }
}

TEST(ImportCommand, EveryRefusedRowIsListedBeforeAnythingIsStored) {
  TestStatement target({{TaxNumber(1), "0", "2", "10,5"}});
  const std::string before = target.File(Side::Customers);
  const std::string path = target.folder.Path("mistakes.csv");
  WriteBytes(path, TaxNumber(4) + ";Α;;0;;;;;1;5\r\n" +       // 1 good
                       TaxNumber(5) + ";Β;;2;;;;;1;5\r\n" +   // 2 obligation code
                       TaxNumber(1) + ";Γ;;0;;;;;1;5\r\n" +   // 3 repeats a stored line
                       TaxNumber(6) + ";Δ;;1;;;;;1;5\r\n" +   // 4 good
                       TaxNumber(6) + ";Ε;;1;;;;;3;9\r\n" +   // 5 repeats row 4
                       TaxNumber(7) + ";Ζ;;1;;;;;1;0\r\n" +   // 6 zero value, one invoice
                       TaxNumber(8) + ";Η;;1;;;;;0;5\r\n" +   // 7 a customer without invoices
                       TaxNumber(9) + ";☃;;1;;;;;1;5\r\n" +   // 8 outside the code page
                       TaxNumber(10) + ";Θ;;1;;;;;x;5\r\n" +  // 9 invoices not a number
                       TaxNumber(6) + ";Ι;;1;;;;;0;5\r\n" +   // 10 repeats row 4, no invoices
                       TaxNumber(8) + ";Κ;;1;;;;;1;5\r\n");   // 11 good: row 7 was refused
  ScriptedQuestions questions;
  questions.ExpectChoice(kImportQuestion, 0);
  questions.ExpectOpenFile(path);
  const ImportOutcome outcome = ImportSpreadsheet(target.statement, questions);

  EXPECT_FALSE(outcome.changedSide.has_value());
  EXPECT_EQ(target.statement.Table(Side::Customers).RecordCount(), 1);
  EXPECT_EQ(target.File(Side::Customers), before);
  EXPECT_FALSE(target.statement.Modified());
  const std::vector<std::pair<int, std::string>> expected = {
      {2, "Η στήλη Υπόχρεος (Νο 4) πρέπει να έχει τιμή 0 ή 1."},
      {3, "Ο ΑΦΜ: " + TaxNumber(1) + " έχει εισαχθεί 2 φορές στους πελάτες"},
      {5, "Ο ΑΦΜ: " + TaxNumber(6) + " έχει εισαχθεί 2 φορές στους πελάτες"},
      {6, "Εφόσον η αξία είναι 0, ο αριθμός τιμολογίων πρέπει να είναι >1 "},
      {7, "Ο αριθμός τιμολογίων πρέπει να είναι >0 "},
      {8, "Η στήλη Επωνυμία (Νο 2) περιέχει τον χαρακτήρα «☃»"},
      {9, "Η στήλη Αριθμός Τιμολογίων (Νο 9) πρέπει να έχει ακέραια τιμή."},
      {10, "Ο ΑΦΜ: " + TaxNumber(6) + " έχει εισαχθεί 2 φορές στους πελάτες"},
  };
  // The message names the first; its details list them all, in row order.
  ASSERT_EQ(questions.messages.size(), 1u);
  ASSERT_EQ(questions.details.size(), 1u);
  const std::vector<std::string> listed = ExpectRowsListed(questions.details[0], expected);
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(listed[0], questions.messages[0]);
}

// A sheet large enough to be converted on two threads: its rows are still judged
// in order, wherever the halves meet.
TEST(ImportCommand, EveryRefusedRowOfALargeSheetIsListedInOrder) {
  TestStatement target({{TaxNumber(1), "0", "2", "10,5"}});
  // Row number -> tax number, obligation code and invoices; the rest are good.
  const std::map<int, std::string> planted = {
      {3, TaxNumber(1) + ";0;1"},         // repeats the stored line
      {4600, TaxNumber(9) + ";0;0"},      // no invoices
      {4601, TaxNumber(150) + ";1;1"},    // repeats row 50, from the other half
      {8999, TaxNumber(9) + ";0;1"},      // good: row 4600 was refused
      {9000, TaxNumber(8999) + ";1;0"}};  // repeats row 8899, and no invoices
  std::string sheet;
  for (int row = 1; row <= 9000; ++row) {
    const auto found = planted.find(row);
    const std::string key = found != planted.end() ? found->second : TaxNumber(100 + row) + ";1;1";
    sheet += key.substr(0, 9) + ";Α;;" + key.substr(10, 1) + ";;;;;" + key.substr(12) + ";5\r\n";
  }
  const std::string path = target.folder.Path("large.csv");
  WriteBytes(path, sheet);
  ScriptedQuestions questions;
  questions.ExpectChoice(kImportQuestion, 0);
  questions.ExpectOpenFile(path);
  ImportSpreadsheet(target.statement, questions);

  EXPECT_EQ(target.statement.Table(Side::Customers).RecordCount(), 1);
  const std::vector<std::pair<int, std::string>> expected = {
      {3, "Ο ΑΦΜ: " + TaxNumber(1) + " έχει εισαχθεί 2 φορές"},
      {4600, "Ο αριθμός τιμολογίων πρέπει να είναι >0 "},
      {4601, "Ο ΑΦΜ: " + TaxNumber(150) + " έχει εισαχθεί 2 φορές"},
      {9000, "Ο ΑΦΜ: " + TaxNumber(8999) + " έχει εισαχθεί 2 φορές"}};
  ASSERT_EQ(questions.details.size(), 1u);
  ExpectRowsListed(questions.details[0], expected);
}

// Three rows onto 99,998 lines would pass the limit by two: nothing is imported.
TEST(ImportCommand, AnImportPastTheSideLimitIsRefusedWhole) {
  TestStatement test;
  RecordTable& customers = test.statement.Table(Side::Customers);
  customers.Close();
  customers.OpenWithLines(std::vector<std::string>(
      kMaxLinesPerSide - 1, LineOf(Side::Customers, {TaxNumber(1), "1", "1", "1"})));
  ScriptedQuestions questions;
  questions.ExpectChoice(kImportQuestion, 0);
  const ImportOutcome outcome =
      ImportSpreadsheet(test.statement, questions, Fixture("lines-utf8.csv"));
  EXPECT_FALSE(outcome.changedSide);
  ASSERT_EQ(questions.messages.size(), 1u);
  EXPECT_EQ(questions.messages[0], ImportOverLimitMessage(Side::Customers, 3, 99'998));
  EXPECT_NE(questions.messages[0].find("100001"), std::string::npos);
  EXPECT_EQ(customers.RecordCount(), kMaxLinesPerSide - 1);
}

}  // namespace
}  // namespace velmora
