#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ExportCommand.h"
#include "ImportCommand.h"
#include "RecordLayout.h"
#include "ScriptedQuestions.h"
#include "SpreadsheetReader.h"
#include "Statement.h"
#include "TestSupport.h"
#include "WorkingLine.h"

namespace velmora {
namespace {

using test::ReadBytes;
using test::ScriptedQuestions;
using test::TempFolder;
using test::WorkingLine;

constexpr const char* kFiler = "094019245";

// An empty statement in a folder of its own.
struct StatementIn {
  StatementIn() : statement(folder.Path()) {
    statement.Reset();
    statement.SetFilerTaxNumber(Cp1253Text(kFiler));
  }
  TempFolder folder;
  Statement statement;
};

TEST(ExportCommandTest, ExportedLinesComeBackThroughTheImportByteForByte) {
  const Side side = Side::Suppliers;
  using F = LineField;
  std::vector<Cp1253Text> lines = {
      Cp1253Text(WorkingLine(side, {{F::TaxNumber, "012345670"},
                                    {F::Name, "ΑΛΦΑ; \"ΒΗΤΑ\" Ο.Ε."},
                                    {F::Profession, "ΕΜΠΟΡΙΟ"},
                                    {F::Obligation, "0"},
                                    {F::Town, "ΑΘΗΝΑ"},
                                    {F::Street, "ΟΔΟΣ 1"},
                                    {F::StreetNumber, "12Α"},
                                    {F::PostCode, "10558"},
                                    {F::InvoiceCount, "12"},
                                    {F::Value, "1234,5"}})),
      // The largest value a line holds: more digits than a number cell keeps.
      Cp1253Text(WorkingLine(side, {{F::TaxNumber, "123456783"},
                                    {F::Name, " ΓΑΜΜΑ"},
                                    {F::Obligation, "1"},
                                    {F::InvoiceCount, "9999999"},
                                    {F::Value, "99999999999999,9"}})),
      Cp1253Text(WorkingLine(side, {{F::TaxNumber, "094014201"},
                                    {F::Obligation, "1"},
                                    {F::InvoiceCount, "1"},
                                    {F::Value, "0,01"}})),
  };
  TempFolder files;
  StatementIn source;
  const auto appended = source.statement.AppendLines(side, lines);
  ASSERT_FALSE(appended.refusal) << appended.refusal->message;
  const std::vector<std::string> stored = source.statement.Table(side).Lines();
  ASSERT_EQ(stored.size(), 3u);

  for (const std::string name : {"lines.xlsx", "LINES.CSV", "named"}) {
    ScriptedQuestions exporting;
    exporting.ExpectSaveFile(files.Path() + "/" + name);
    const ExportOutcome exported =
        ExportLines(source.statement, exporting, side, Cp1253Text(kFiler));
    ASSERT_TRUE(exported.path) << name;
    EXPECT_EQ(exporting.proposedNames.front(), "094019245-" + *Utf8ToCp1253("ΠΡΟΜΗΘΕΥΤΕΣ.xlsx"));

    StatementIn target;
    ScriptedQuestions importing;
    importing.ExpectChoice(kImportQuestion, 1);
    importing.ExpectOpenFile(*exported.path);
    ImportSpreadsheet(target.statement, importing);
    EXPECT_TRUE(importing.messages.empty()) << name << ": " << importing.messages.front();
    EXPECT_EQ(target.statement.Table(side).Lines(), stored) << name;
  }

  // A name with neither ending is a workbook; its cells keep their kinds.
  const SheetReadResult read = ReadFirstSheet(files.Path() + "/named.xlsx");
  ASSERT_TRUE(std::holds_alternative<Sheet>(read));
  std::array<SheetCell, 10> cells;
  std::get<Sheet>(read).RowCells(0, cells);
  EXPECT_EQ(cells[0].kind, SheetCell::Kind::Text);
  EXPECT_EQ(cells[0].text, "012345670");
  EXPECT_EQ(cells[8].kind, SheetCell::Kind::Number);
  EXPECT_EQ(cells[9].kind, SheetCell::Kind::Number);
  EXPECT_EQ(cells[9].number, 1234.5);
  // The CSV as accounting programs read it.
  const std::string csv = ReadBytes(files.Path() + "/LINES.CSV");
  EXPECT_TRUE(
      csv.starts_with("\xEF\xBB\xBF"
                      "012345670;\"ΑΛΦΑ; \"\"ΒΗΤΑ\"\" Ο.Ε.\";ΕΜΠΟΡΙΟ;0;"));
}

}  // namespace
}  // namespace velmora
