#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "HeaderLine.h"
#include "RecordingListener.h"
#include "RecordLayout.h"
#include "Statement.h"
#include "SystemReason.h"
#include "TestSupport.h"
#include "VelmoraError.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr const char* kFiler = "123456783";

using test::Blanks;
using test::CrLf;
using test::Pad;
using test::ReadBytes;

std::string Zeros(std::string_view digits, std::size_t width) {
  return std::string(width - digits.size(), '0') + std::string(digits);
}

// A line record with an obliged counter-party; the file form zero-fills the
// invoice count and gives the value in cents, the working form is the table's.
std::string FileLine(char type, const char* sequence, const char* taxNumber, const char* count,
                     const char* cents) {
  return std::string(1, type) + sequence + taxNumber + Pad("NAME", 27) + Pad("TRADE", 15) + "0" +
         Pad("ATHINA", 10) + Pad("ODOS", 16) + "12 10431" + Zeros(count, 7) + Zeros(cents, 16) +
         Blanks(35);
}
std::string WorkingLine(char type, const char* sequence, const char* taxNumber, const char* count,
                        const char* value) {
  return FileLine(type, sequence, taxNumber, "0", "0").substr(0, 92) + Pad(count, 7) +
         Pad(value, 16) + Blanks(35);
}

const std::string kOpening = "0IL01    20240131" + Blanks(133);
const std::string kHeader = "120081101123   " + Pad("EMPORIO AE", 18) + kFiler +
                            Pad("EMPORIO", 16) + Pad("ATHINA", 10) + Pad("ODOS 1", 16) +
                            "12A104312101234567" + Pad("2107654321info@example.gr", 44) + "   0";
const std::string kCustomerAmounts =
    "3 " + Zeros("", 16) + " " + Zeros("", 16) + Zeros("5", 16) + Zeros("1050", 16) + Blanks(83);
const std::string kSupplierAmounts =
    "5" + Blanks(18) + Zeros("", 16) + Zeros("2", 16) + Zeros("300", 16) + Blanks(83);
const Lines kCustomers{WorkingLine('2', "00001", "094014298", "2", "10,5"),
                       WorkingLine('2', "00002", "012345670", "3", "0")};
// Both supplier lines have the same number and code.
const Lines kSuppliers{WorkingLine('4', "00001", "094014298", "1", "1"),
                       WorkingLine('4', "00002", "094014298", "1", "2")};

OpenedStatement Opened() {
  auto result =
      ReadSubmissionFile(CrLf({kOpening, kHeader, FileLine('2', "00001", "094014298", "2", "1050"),
                               FileLine('2', "00002", "012345670", "3", "0"), kCustomerAmounts,
                               FileLine('4', "00001", "094014298", "1", "100"),
                               FileLine('4', "00002", "094014298", "1", "200"), kSupplierAmounts}));
  if (const auto* failure = std::get_if<ReadFailure>(&result)) {
    ADD_FAILURE() << failure->message << " at line " << failure->lineNumber;
    return {};
  }
  return std::get<OpenedStatement>(std::move(result));
}

void Fill(RecordTable& table, Side side, const char* taxNumber, const char* obligation,
          const char* count, const char* value) {
  table.BeginAppend();
  table.SetFieldText(LineFieldName(side, LineField::TaxNumber), taxNumber);
  table.SetFieldText(LineFieldName(side, LineField::Obligation), obligation);
  table.SetFieldText(LineFieldName(side, LineField::InvoiceCount), count);
  table.SetFieldText(LineFieldName(side, LineField::Value), value);
}

// A side, its line count, and the invoice and value totals as the window shows them.
using Change = std::tuple<Side, int, std::string, std::string>;

class StatementTest : public testing::Test {
 protected:
  std::string Read(const std::string& name) const { return ReadBytes(base_ + "/temp/" + name); }
  // Keeps each change with the count and totals shown at that moment.
  struct Watcher : test::RecordingListener {
    Watcher(const Statement& statement, std::vector<Change>& changes)
        : statement_(statement), changes_(changes) {}
    void LinesChanged(Side side) override {
      changes_.emplace_back(side, statement_.Table(side).RecordCount(),
                            statement_.InvoiceTotalText(side).bytes(),
                            statement_.ValueTotalText(side).bytes());
    }
    void TotalsProblem(const std::string& message) override { ADD_FAILURE() << message; }
    const Statement& statement_;
    std::vector<Change>& changes_;
  };

  void Watch(Statement& statement) {
    statement.SetFilerTaxNumber(Cp1253Text(kFiler));
    watcher_.emplace(statement, changes_);
    statement.SetListener(&*watcher_);
  }
  const std::vector<std::pair<Side, std::string>>& Refusals() const { return watcher_->refusals; }

  test::TempFolder folder_;
  const std::string base_ = folder_.Path();
  std::vector<Change> changes_;
  std::optional<Watcher> watcher_;
};

TEST_F(StatementTest, LoadsAnOpenedFileResetsAndShutsDown) {
  Statement statement(base_);
  Watch(statement);
  EXPECT_TRUE(fs::is_directory(base_ + "/temp"));

  OpenedStatement opened = Opened();
  statement.Load(opened);
  EXPECT_EQ(Read("generalData"), kHeader + "\r\n");
  EXPECT_EQ(Read("record2"), CrLf(kCustomers));
  EXPECT_EQ(Read("record3"), kCustomerAmounts + "\r\n");
  EXPECT_EQ(Read("record4"), CrLf(kSuppliers));
  EXPECT_EQ(Read("record5"), kSupplierAmounts + "\r\n");
  EXPECT_EQ(Read("record21"), CrLf(kCustomers));
  EXPECT_EQ(Read("record22"), CrLf(kSuppliers));
  RecordTable& customers = statement.Table(Side::Customers);
  EXPECT_EQ(customers.Lines(), kCustomers);
  EXPECT_EQ(statement.Table(Side::Suppliers).Lines(), kSuppliers);
  EXPECT_EQ(customers.FieldText(LineFieldName(Side::Customers, LineField::Value)), "10,5");
  EXPECT_FALSE(customers.Modified());
  EXPECT_EQ(changes_, (std::vector<Change>{{Side::Customers, 2, "5", "10,50"},
                                           {Side::Suppliers, 2, "2", "3,00"}}));

  statement.Reset();
  for (const char* name : {"generalData", "record2", "record3", "record4", "record5"}) {
    EXPECT_EQ(fs::file_size(base_ + "/temp/" + name), 0u) << name;
  }
  for (Side side : {Side::Customers, Side::Suppliers}) {
    const RecordTable* table = &statement.Table(side);
    EXPECT_TRUE(table->Active());
    EXPECT_EQ(table->RecordCount(), 0);
  }

  statement.Shutdown();
  EXPECT_FALSE(customers.Active());
  EXPECT_FALSE(fs::exists(base_ + "/temp"));
  EXPECT_TRUE(fs::is_directory(base_));
}

TEST_F(StatementTest, StoresRecountsAndRefusesLinesThroughTheTables) {
  Statement statement(base_);
  Watch(statement);
  OpenedStatement opened = Opened();
  statement.Load(opened);
  changes_.clear();

  RecordTable& customers = statement.Table(Side::Customers);
  Fill(customers, Side::Customers, "999999993", "1", "4", "2,250");
  customers.PostRecord();
  const std::string stored = "2" + Blanks(5) + "999999993" + Blanks(42) + "1" + Blanks(34) +
                             Pad("4", 7) + Pad("2,25", 16) + Blanks(35);
  EXPECT_EQ(customers.LineAt(2), stored);
  EXPECT_EQ(changes_, (std::vector<Change>{{Side::Customers, 3, "9", "12,75"}}));
  EXPECT_EQ(Read("record2"), CrLf(kCustomers) + stored + "\r\n");
  EXPECT_EQ(Read("record21"), Read("record2"));

  // Refused lines stay pending: the filer's own number, and a new supplier line
  // repeating the first one with its number.
  Fill(customers, Side::Customers, kFiler, "1", "1", "1");
  EXPECT_FALSE(customers.PostRecord());
  EXPECT_EQ(customers.State(), DataSetState::Insert);
  EXPECT_EQ(customers.RecordCount(), 3);
  customers.CancelRecord();
  RecordTable& suppliers = statement.Table(Side::Suppliers);
  Fill(suppliers, Side::Suppliers, "094014298", "0", "1", "5");
  EXPECT_FALSE(suppliers.PostRecord());
  EXPECT_EQ(suppliers.State(), DataSetState::Insert);
  suppliers.CancelRecord();
  ASSERT_EQ(Refusals().size(), 2u);
  EXPECT_EQ(Refusals()[0].first, Side::Customers);
  EXPECT_EQ(Refusals()[0].second, "O ΑΦΜ που εισάγατε είναι ίδιος με τον ΑΦΜ υπόχρεου.");
  EXPECT_EQ(Refusals()[1].first, Side::Suppliers);
  EXPECT_EQ(Refusals()[1].second,
            "Ο ΑΦΜ: 094014298 έχει εισαχθεί 2 φορές στους προμηθευτές με τον ίδιο κωδικό "
            "υπόχρεου (0)");
  EXPECT_EQ(changes_.size(), 1u);

  const auto failure = statement.CheckLines(kFiler);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->message,
            "Η αποθήκευση σε αρχείο απέτυχε: Ο ΑΦΜ: 094014298 έχει εισαχθεί 2 φορές στους "
            "προμηθευτές με τον ίδιο κωδικό υπόχρεου (0). Διορθώστε το και επαναλάβετε την "
            "αποθήκευση.");
  suppliers.SetPosition(suppliers.RecordCount());
  suppliers.DeleteRecord();
  EXPECT_EQ(changes_.back(), (Change{Side::Suppliers, 1, "1", "1,00"}));
  EXPECT_FALSE(statement.CheckLines(kFiler).has_value());
}

TEST_F(StatementTest, AStoreOrDeletionTheDiskRefusesIsUndone) {
  Statement statement(base_);
  Watch(statement);
  OpenedStatement opened = Opened();
  statement.Load(opened);
  changes_.clear();
  RecordTable& customers = statement.Table(Side::Customers);
  const std::string before = Read("record2");

  // The working folder becomes a plain file: no write can reach it, even as root.
  const std::string folder = base_ + "/temp";
  fs::rename(folder, folder + "-away");
  test::WriteBytes(folder, "");
  Fill(customers, Side::Customers, "999999993", "1", "4", "2,25");
  try {
    customers.PostRecord();
    ADD_FAILURE() << "the store went through";
  } catch (const VelmoraError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Η αλλαγή δεν αποθηκεύτηκε", 0), 0u) << error.what();
  }
  // The line is still the one being typed; table, totals and file agree.
  EXPECT_EQ(customers.State(), DataSetState::Insert);
  EXPECT_EQ(customers.FieldText(LineFieldName(Side::Customers, LineField::TaxNumber)), "999999993");
  EXPECT_EQ(customers.RecordCount(), 2);
  EXPECT_EQ(statement.InvoiceTotalText(Side::Customers).bytes(), "5");
  EXPECT_TRUE(changes_.empty());
  customers.CancelRecord();
  customers.MoveFirst();
  EXPECT_THROW(customers.DeleteRecord(), VelmoraError);
  EXPECT_EQ(customers.Lines(), kCustomers);
  EXPECT_TRUE(changes_.empty());

  // With the folder back, the same store goes through.
  fs::remove(folder);
  fs::rename(folder + "-away", folder);
  EXPECT_EQ(Read("record2"), before);
  Fill(customers, Side::Customers, "999999993", "1", "4", "2,25");
  customers.PostRecord();
  EXPECT_EQ(customers.RecordCount(), 3);
  EXPECT_EQ(changes_, (std::vector<Change>{{Side::Customers, 3, "9", "12,75"}}));
  EXPECT_EQ(Read("record2"), CrLf(customers.Lines()));
}

TEST_F(StatementTest, WritesOnlyAWholeFile) {
  const std::string path = base_ + "/out.txt";
  std::ofstream(path, std::ios::binary) << "old";
  Lines customers{WorkingLine('2', "00001", "094014298", "2", "10,5")};
  customers[0][57] = ' ';  // no obligation code
  SubmissionStatement statement;
  statement.date = "20240131";
  statement.header = ParseHeaderLine(kHeader);
  statement.customerLines = customers;
  statement.retailSales = statement.customersWithoutItemisation = "0";
  statement.suppliersWithoutItemisation = "0";
  statement.customerInvoiceTotal = "2";
  statement.customerValueTotal = "10,50";
  const auto problem = Statement::Write(path, statement);
  ASSERT_TRUE(problem.has_value());
  EXPECT_TRUE(problem->beep);
  EXPECT_EQ(problem->message,
            "Η αποθήκευση σε αρχείο απέτυχε: Η γραμμή 1 των πελατών δεν έχει συμπληρωμένο το "
            "πεδίο ΥΠΟΧΡΕΟΣ. Διορθώστε τη και επαναλάβετε την αποθήκευση.");
  EXPECT_EQ(ReadBytes(path), "old");

  customers[0][57] = '0';
  EXPECT_FALSE(Statement::Write(path, statement).has_value());
  EXPECT_EQ(ReadBytes(path),
            CrLf({kOpening, kHeader, FileLine('2', "00001", "094014298", "2", "1050"),
                  "3 " + Zeros("", 16) + " " + Zeros("", 16) + Zeros("2", 16) + Zeros("1050", 16) +
                      Blanks(83)}));
  // A failing disk comes back as a warning that carries the system's reason.
  const auto failed = Statement::Write(base_ + "/missing/out.txt", statement);
  ASSERT_TRUE(failed.has_value());
  EXPECT_TRUE(failed->warning);
  EXPECT_NE(failed->message.find(SystemReason(ENOENT)), std::string::npos) << failed->message;
}

}  // namespace
}  // namespace velmora
