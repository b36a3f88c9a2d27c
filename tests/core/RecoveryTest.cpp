#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "CopyFolder.h"
#include "FormFile.h"
#include "RecoveredLines.h"
#include "ScriptedQuestions.h"
#include "RecordLayout.h"
#include "Statement.h"
#include "StatementCommands.h"
#include "TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

StatementForm TypedForm() {
  StatementForm form;
  form.header.year = Cp1253Text("2024");
  form.header.taxOfficeCode = Cp1253Text("1101");
  form.header.companyName =
      Cp1253Text("\xc1\xc2\xc3 \\ A=B\nC\r");  // "ΑΒΓ", then what needs escaping
  form.creditBalances = true;
  form.retailSales = Cp1253Text("12,5");
  return form;
}

// A copy that stores a line, keeps its form and then dies without a word, as a
// crash leaves things: its folder and working files stay, its lock goes.
void CrashAfterTyping(const std::string& stateFolder, bool typeAnything) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CopyFolder folder = CopyFolder::Create(stateFolder);
    Statement statement(folder.Path());
    statement.Reset();
    if (typeAnything) {
      RecordTable& customers = statement.Table(Side::Customers);
      customers.BeginAppend();
      customers.SetFieldText(LineFieldName(Side::Customers, LineField::TaxNumber), "094014298");
      customers.SetFieldText(LineFieldName(Side::Customers, LineField::Obligation), "1");
      customers.SetFieldText(LineFieldName(Side::Customers, LineField::InvoiceCount), "3");
      customers.SetFieldText(LineFieldName(Side::Customers, LineField::Value), "10,50");
      customers.PostRecord();
      statement.KeepForm(TypedForm());
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
}

TEST(RecoveryTest, FormFileKeepsEveryValueAndRefusesOtherText) {
  const StatementForm form = TypedForm();
  EXPECT_EQ(ParseFormFile(ComposeFormFile(form)), form);
  EXPECT_EQ(ParseFormFile(ComposeFormFile(StatementForm())), StatementForm());
  EXPECT_FALSE(ParseFormFile("").has_value());
  EXPECT_FALSE(ParseFormFile("year=2024\n").has_value());
}

TEST(RecoveryTest, FoldersOfRunningCopiesAreNeverClaimed) {
  const test::TempFolder state;
  {
    const CopyFolder running = CopyFolder::Create(state.Path());
    EXPECT_TRUE(fs::exists(running.Path() + "/owner"));
    EXPECT_TRUE(CopyFolder::ClaimAbandoned(state.Path()).empty());
  }
  // Closed with nothing left in it: the folder is gone.
  EXPECT_TRUE(fs::is_empty(state.Path()));

  CrashAfterTyping(state.Path(), true);
  std::vector<CopyFolder> claimed = CopyFolder::ClaimAbandoned(state.Path());
  ASSERT_EQ(claimed.size(), 1u);
  // Claimed by this copy, it is no other copy's to take.
  EXPECT_TRUE(CopyFolder::ClaimAbandoned(state.Path()).empty());
  const std::string path = claimed[0].Path();
  claimed.clear();
  // Let go with its files still in it: offered again next time.
  EXPECT_TRUE(fs::exists(path + "/temp/record2"));
  EXPECT_EQ(CopyFolder::ClaimAbandoned(state.Path()).size(), 1u);
}

TEST(RecoveryTest, AStatementLeftByACrashIsOfferedBackOrDeleted) {
  const test::TempFolder state;
  const test::TempFolder mine;
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  CrashAfterTyping(state.Path(), true);
  CrashAfterTyping(state.Path(), false);  // nothing typed: deleted unasked

  // The time asked about is that of the latest change.
  std::vector<CopyFolder> claimed = CopyFolder::ClaimAbandoned(state.Path());
  ASSERT_EQ(claimed.size(), 2u);
  for (const CopyFolder& folder : claimed) {
    for (const auto& entry : fs::directory_iterator(folder.Path() + "/temp")) {
      const std::time_t when = entry.path().filename() == "form" ? 1709647620 : 1709640000;
      const timespec times[2] = {{when, 0}, {when, 0}};
      ::utimensat(AT_FDCWD, entry.path().c_str(), times, 0);
    }
  }

  using Action = Questions::RecoveryChoice::Action;
  Statement statement(mine.Path());
  test::ScriptedQuestions questions;
  // Escape keeps it for the next start; "Όχι" to the second question keeps it too.
  questions.ExpectRecovery({Action::Later, 0});
  EXPECT_FALSE(OfferRecovery(statement, questions, std::move(claimed)).has_value());
  EXPECT_EQ(questions.recoveryLists, std::vector<std::vector<std::string>>{{"05/03/2024 14:07"}});
  claimed = CopyFolder::ClaimAbandoned(state.Path());
  ASSERT_EQ(claimed.size(), 1u);
  questions.ExpectRecovery({Action::Delete, 0});
  questions.Expect(kRecoveryDeleteQuestion, Questions::Answer::No);
  questions.ExpectRecovery({Action::Delete, 0});
  questions.Expect(kRecoveryDeleteQuestion, Questions::Answer::Yes);
  EXPECT_FALSE(OfferRecovery(statement, questions, std::move(claimed)).has_value());
  EXPECT_TRUE(questions.AllAnswered());
  EXPECT_TRUE(fs::is_empty(state.Path()));

  CrashAfterTyping(state.Path(), true);
  questions.ExpectRecovery({Action::Recover, 0});
  const auto shown = OfferRecovery(statement, questions, CopyFolder::ClaimAbandoned(state.Path()));
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->form, TypedForm());
  EXPECT_TRUE(statement.Modified());
  EXPECT_EQ(statement.Table(Side::Customers).RecordCount(), 1);
  EXPECT_EQ(statement.ValueTotalText(Side::Customers).bytes(), "10,50");
  EXPECT_EQ(statement.InvoiceTotalText(Side::Customers).bytes(), "3");
  EXPECT_TRUE(fs::is_empty(state.Path()));
  // The lines are this statement's own now: stored in its working file.
  EXPECT_NE(test::ReadBytes(statement.Files().Path(WorkingFiles::kCustomerLines)).find("094014298"),
            std::string::npos);
  EXPECT_TRUE(questions.messages.empty());
}

// Damaged line files are refused before anything is shown, and a folder that
// failed twice is set aside, never offered again.
TEST(RecoveryTest, DamagedWorkingLinesAreRefusedThenSetAside) {
  std::string line = "2" + std::string(kRecordLength - 1, ' ');
  // Without an invoice count and a value, as no stored line is.
  EXPECT_TRUE(CheckWorkingLines(test::CrLf({line}), Side::Customers));
  line.replace(92, 1, "3");
  line.replace(99, 5, "-10,5");
  EXPECT_FALSE(CheckWorkingLines(test::CrLf({line, line}), Side::Customers));
  EXPECT_FALSE(CheckWorkingLines("", Side::Suppliers));
  EXPECT_TRUE(CheckWorkingLines(test::CrLf({line}), Side::Suppliers));
  EXPECT_TRUE(CheckWorkingLines(line + "\x01\r\n", Side::Customers));
  EXPECT_TRUE(CheckWorkingLines(std::string(100'000, '\n'), Side::Customers));
  EXPECT_TRUE(CheckWorkingLines(std::string(kMaxWorkingLinesBytes + 1, ' '), Side::Customers));

  const test::TempFolder state;
  const test::TempFolder mine;
  using Action = Questions::RecoveryChoice::Action;
  Statement statement(mine.Path());
  statement.Reset();
  for (int attempt = 1; attempt <= 2; ++attempt) {
    if (attempt == 1) {
      CrashAfterTyping(state.Path(), true);
      std::vector<CopyFolder> claimed = CopyFolder::ClaimAbandoned(state.Path());
      ASSERT_EQ(claimed.size(), 1u);
      test::WriteBytes(claimed[0].Path() + "/temp/record2", std::string(4096, '\xb7') + "\n");
    }
    test::ScriptedQuestions questions;
    questions.ExpectRecovery({Action::Recover, 0});
    EXPECT_FALSE(OfferRecovery(statement, questions, CopyFolder::ClaimAbandoned(state.Path())));
    ASSERT_EQ(questions.warnings.size(), 1u);
    EXPECT_EQ(questions.warnings[0].rfind(kRecoveryFailedPrefix, 0), 0u) << questions.warnings[0];
    EXPECT_EQ(questions.warnings[0].find("broken-") != std::string::npos, attempt == 2);
    EXPECT_EQ(statement.Table(Side::Customers).RecordCount(), 0);
  }
  EXPECT_TRUE(CopyFolder::ClaimAbandoned(state.Path()).empty());
}

}  // namespace
}  // namespace velmora
