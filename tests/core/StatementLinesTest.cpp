#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "TestSupport.h"
#include "RecordLayout.h"
#include "StatementLines.h"

namespace velmora {
namespace {

std::string Name(LineField field) { return LineFieldName(Side::Customers, field); }

namespace fs = std::filesystem;

constexpr const char* kFiler = "123456783";

using test::Pad;

// A customer line as stored: only the fields the checks read are filled in.
std::string Line(const char* taxNumber, const char* obligation, const char* count,
                 const char* value) {
  return "2" + Pad("", 5) + Pad(taxNumber, 9) + Pad("", 42) + obligation + Pad("", 34) +
         Pad(count, 7) + Pad(value, 16) + Pad("", 35);
}

class StatementLinesTest : public testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(PathOf("record2"), "");
    table_.SetSchema(LineSchema(Side::Customers));
    table_.SetFileName(PathOf("record2"));
    table_.Open();
    lines_ = std::make_unique<StatementLines>(Side::Customers, table_, PathOf("record21"));
    table_.BeforeCommit = [this](RecordTable&) { lines_->WriteLines(); };
  }
  void TearDown() override {
    lines_.reset();
    table_.Close();
  }

  std::string PathOf(const std::string& name) const { return folder_.Path(name); }
  std::string Read(const std::string& name) const { return test::ReadBytes(PathOf(name)); }
  // Begins a new line, or edits the current one, and judges it.
  LineVerdict Check(const char* taxNumber, const char* obligation, const char* count,
                    const char* value, bool newLine) {
    if (newLine) {
      table_.BeginAppend();
    } else {
      table_.BeginEdit();
    }
    table_.SetFieldText(Name(LineField::TaxNumber), taxNumber);
    table_.SetFieldText(Name(LineField::Obligation), obligation);
    table_.SetFieldText(Name(LineField::InvoiceCount), count);
    table_.SetFieldText(Name(LineField::Value), value);
    return lines_->CheckPendingLine(kFiler, newLine);
  }
  void Store(const char* taxNumber, const char* obligation, const char* count, const char* value) {
    const LineVerdict verdict = Check(taxNumber, obligation, count, value, true);
    ASSERT_TRUE(verdict.accepted) << verdict.message;
    table_.PostRecord();
  }

  test::TempFolder folder_;
  RecordTable table_;
  std::unique_ptr<StatementLines> lines_;
};

TEST_F(StatementLinesTest, StampsTheLineAndNormalisesAnAcceptedValue) {
  LineVerdict verdict = Check("094014298", "1", "2", "10,50", true);
  EXPECT_TRUE(verdict.accepted) << verdict.message;
  EXPECT_EQ(verdict.message, "");
  EXPECT_EQ(table_.RecordText(), Line("094014298", "1", "2", "10,5"));
  EXPECT_EQ(table_.FieldText("RecordType"), "2");
  table_.CancelRecord();

  // A refused line is stamped too, but keeps its value as typed.
  verdict = Check(kFiler, "1", "2", "10,50", true);
  EXPECT_FALSE(verdict.accepted);
  EXPECT_EQ(verdict.message, "O ΑΦΜ που εισάγατε είναι ίδιος με τον ΑΦΜ υπόχρεου.");
  EXPECT_EQ(table_.RecordText(), Line(kFiler, "1", "2", "10,50"));
  table_.CancelRecord();
  EXPECT_EQ(table_.RecordCount(), 0);
}

TEST_F(StatementLinesTest, NewLinesAreComparedWithTheFirstStoredLineOfTheirNumber) {
  Store("094014298", "1", "1", "1");
  Store("012345670", "1", "1", "1");
  // Stored without the checks: a second line with the first number, another code.
  table_.BeginAppend();
  table_.SetFieldText(Name(LineField::TaxNumber), "094014298");
  table_.SetFieldText(Name(LineField::Obligation), "0");
  table_.PostRecord();

  LineVerdict verdict = Check("094014298", "1", "3", "5", true);
  EXPECT_FALSE(verdict.accepted);
  EXPECT_EQ(verdict.message,
            "Ο ΑΦΜ: 094014298 έχει εισαχθεί 2 φορές στους πελάτες με τον ίδιο κωδικό υπόχρεου (1)");
  table_.CancelRecord();
  // The third line has this code, but only the first one with the number counts.
  verdict = Check("094014298", "0", "3", "5", true);
  EXPECT_TRUE(verdict.accepted) << verdict.message;
  table_.CancelRecord();
  verdict = Check("012345670", "0", "3", "5", true);
  EXPECT_TRUE(verdict.accepted) << verdict.message;
  table_.CancelRecord();

  // A line being edited is not a new one.
  table_.MoveFirst();
  verdict = Check("094014298", "1", "3", "5", false);
  EXPECT_TRUE(verdict.accepted) << verdict.message;
  EXPECT_EQ(table_.State(), DataSetState::Edit);
  table_.CancelRecord();
}

TEST_F(StatementLinesTest, WritesTheFileAndItsSnapshotAndSumsTheLines) {
  Store("094014298", "1", "2", "10,50");
  Store("012345670", "1", "3", "0");
  Store("999999993", "1", "5", "1,250");
  TotalsResult result = lines_->Sum();
  ASSERT_TRUE(result.totals.has_value()) << result.message;
  EXPECT_EQ(result.totals->invoices, 10);
  EXPECT_EQ(result.totals->value, Amount::FromCents(1175));
  EXPECT_FALSE(table_.Modified());
  const std::string expected = Line("094014298", "1", "2", "10,5") + "\r\n" +
                               Line("012345670", "1", "3", "0") + "\r\n" +
                               Line("999999993", "1", "5", "1,25") + "\r\n";
  EXPECT_EQ(Read("record2"), expected);
  EXPECT_EQ(Read("record21"), expected);

  table_.MoveFirst();
  table_.DeleteRecord();
  result = lines_->Sum();
  ASSERT_TRUE(result.totals.has_value()) << result.message;
  EXPECT_EQ(result.totals->invoices, 8);
  EXPECT_EQ(result.totals->value, Amount::FromCents(125));
  EXPECT_EQ(Read("record21"), expected.substr(152));
  EXPECT_EQ(Read("record2"), expected.substr(152));
  lines_->WaitForOldSnapshot();
  EXPECT_FALSE(fs::exists(PathOf("record21.old")));
}

}  // namespace
}  // namespace velmora
