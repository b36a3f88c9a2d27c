#include <cerrno>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SystemReason.h"
#include "Cp1253.h"
#include "FindCommand.h"
#include "RecordLayout.h"
#include "ScriptedQuestions.h"
#include "SortCommand.h"
#include "Statement.h"
#include "TestSupport.h"

namespace velmora {
namespace {

using test::CrLf;
using test::Pad;
using test::ReadBytes;

std::string Cp1253(std::string_view utf8) { return Utf8ToCp1253(utf8).value(); }

// A stored customer line: its own sequence number, tax number, name, invoices and value.
std::string Line(const char* sequence, const char* taxNumber, std::string_view name,
                 const char* invoices, const char* value) {
  return "2" + std::string(sequence) + taxNumber + Pad(Cp1253(name), 27) + Pad("", 15) + "0" +
         Pad("", 10) + Pad("", 16) + Pad("", 3) + Pad("", 5) + Pad(invoices, 7) + Pad(value, 16) +
         Pad("", 35);
}

const std::string kGamma = Line("00001", "094014298", "ΓΑΜΜΑ", "3", "30,5");
const std::string kAlpha = Line("00002", "123456783", "ΑΛΦΑ", "1", "10");
const std::string kBeta = Line("00003", "012345670", "ΒΗΤΑ", "2", "20,25");

class SortCommandTest : public ::testing::Test {
 protected:
  SortCommandTest() : statement(folder.Path()) {
    statement.Reset();
    RecordTable& table = statement.Table(Side::Customers);
    table.Close();
    test::WriteBytes(table.FileName(), CrLf(std::vector<std::string>{kGamma, kAlpha, kBeta}));
    table.Open();
    table.SetPosition(table.RecordCount());
    statement.Lines(Side::Customers).TakeSnapshot();
  }

  std::string CustomerFile() const {
    return ReadBytes(statement.Files().Path(WorkingFiles::kCustomerLines));
  }

  test::TempFolder folder;
  Statement statement;
  test::ScriptedQuestions questions;
};

TEST_F(SortCommandTest, PutsTheLinesInOrderForGood) {
  ASSERT_TRUE(SortLines(statement, questions, Side::Customers, SortKey::ByName).sorted);
  // Each line keeps its own sequence number, tax number and amounts.
  const std::vector<std::string> byName{kAlpha, kBeta, kGamma};
  EXPECT_EQ(CustomerFile(), CrLf(byName));
  RecordTable& table = statement.Table(Side::Customers);
  EXPECT_EQ(table.Lines(), byName);
  EXPECT_EQ(table.CurrentIndex(), 0);
  EXPECT_EQ(table.State(), DataSetState::Browse);
  EXPECT_EQ(ReadBytes(statement.Files().Path(WorkingFiles::kCustomerSnapshot)), CrLf(byName));
  EXPECT_TRUE(statement.Modified());
  EXPECT_EQ(questions.busyShown, 1);
  // The other side is not touched.
  EXPECT_EQ(ReadBytes(statement.Files().Path(WorkingFiles::kSupplierLines)), "");

  ASSERT_TRUE(SortLines(statement, questions, Side::Customers, SortKey::ByTaxNumber).sorted);
  const std::vector<std::string> byTaxNumber{kBeta, kGamma, kAlpha};
  EXPECT_EQ(CustomerFile(), CrLf(byTaxNumber));
  ASSERT_TRUE(SortLines(statement, questions, Side::Customers, SortKey::ByTaxNumber).sorted);
  EXPECT_EQ(CustomerFile(), CrLf(byTaxNumber));
  EXPECT_TRUE(questions.warnings.empty());
  EXPECT_TRUE(questions.messages.empty());
}

TEST_F(SortCommandTest, ARefusedPendingLineStopsTheSortBeforeAnything) {
  const std::string before = CustomerFile();
  questions.SetPendingLineStored(false);
  EXPECT_FALSE(SortLines(statement, questions, Side::Customers, SortKey::ByName).sorted);
  EXPECT_EQ(CustomerFile(), before);
  EXPECT_EQ(statement.Table(Side::Customers).CurrentIndex(), 2);
  EXPECT_FALSE(statement.Modified());
  EXPECT_EQ(questions.busyShown, 0);
  EXPECT_TRUE(questions.warnings.empty());
}

// Files may grow no larger than limit bytes while it lives, as on a full disk:
// a write past it fails with the system's reason instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit reduced = saved_;
    reduced.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &reduced);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  sighandler_t oldHandler_;
};

TEST_F(SortCommandTest, AFailedWriteLeavesTheOldOrder) {
  const std::string before = CustomerFile();
  {
    const FileSizeLimit limit(200);
    EXPECT_FALSE(SortLines(statement, questions, Side::Customers, SortKey::ByName).sorted);
  }
  EXPECT_EQ(CustomerFile(), before);
  EXPECT_EQ(statement.Table(Side::Customers).Lines(),
            (std::vector<std::string>{kGamma, kAlpha, kBeta}));
  EXPECT_FALSE(statement.Modified());
  ASSERT_EQ(questions.warnings.size(), 1u);
  EXPECT_EQ(questions.warnings[0],
            "Η ταξινόμηση δεν έγινε: δεν ήταν δυνατό να γραφτεί το αρχείο εργασίας.\n" +
                SystemReason(EFBIG) + "\nΟι γραμμές έμειναν στη σειρά που είχαν.");
  // No half-written file is left beside the working files.
  for (const auto& entry : std::filesystem::directory_iterator(statement.Files().Folder()))
    EXPECT_NE(entry.path().filename().string().rfind("record2.", 0), 0u) << entry.path();
}

TEST_F(SortCommandTest, FindMovesToTheFirstMatchOrToTheFirstLine) {
  RecordTable& table = statement.Table(Side::Customers);
  const FindRequest name{FindField::Name, Cp1253Text(Cp1253("ΒΗ")), FindMatch::Beginning};
  EXPECT_EQ(FindLineOnSide(statement, questions, Side::Customers, name).line, 2u);
  EXPECT_EQ(table.CurrentIndex(), 2);
  // The suppliers' lines are empty: nothing there, and the warning.
  EXPECT_EQ(FindLineOnSide(statement, questions, Side::Suppliers, name).line, std::nullopt);
  EXPECT_EQ(questions.warnings, std::vector<std::string>{"Δεν βρέθηκε η Επωνυμία"});
  const FindRequest taxNumber{FindField::TaxNumber, Cp1253Text("12345"), FindMatch::WholeField};
  EXPECT_EQ(FindLineOnSide(statement, questions, Side::Customers, taxNumber).line, std::nullopt);
  EXPECT_EQ(questions.warnings.back(), "Δεν βρέθηκε ο ΑΦΜ");
  EXPECT_EQ(table.CurrentIndex(), 0);
  EXPECT_FALSE(statement.Modified());

  questions.SetPendingLineStored(false);
  EXPECT_FALSE(StorePendingLinesBeforeFind(questions));
}

}  // namespace
}  // namespace velmora
