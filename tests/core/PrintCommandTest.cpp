#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "PrintCommand.h"
#include "RecordLayout.h"
#include "RecordingListener.h"
#include "ScriptedQuestions.h"
#include "Statement.h"
#include "StatementPage.h"
#include "TaxOffices.h"
#include "TestSupport.h"

namespace velmora {
namespace {

using test::ReadBytes;

void StoreLine(Statement& statement, Side side, const char* taxNumber, const char* count,
               const char* value) {
  RecordTable& table = statement.Table(side);
  table.BeginAppend();
  table.SetFieldText(LineFieldName(side, LineField::TaxNumber), taxNumber);
  table.SetFieldText(LineFieldName(side, LineField::Obligation), "0");
  table.SetFieldText(LineFieldName(side, LineField::InvoiceCount), count);
  table.SetFieldText(LineFieldName(side, LineField::Value), value);
  table.PostRecord();
}

class PrintCommandTest : public testing::Test {
 protected:
  PrintCommandTest() {
    statement_.SetFilerTaxNumber(Cp1253Text("123456783"));
    statement_.SetListener(&listener_);
    statement_.Reset();
    form_.header.taxOfficeCode = Cp1253Text(TaxOffices()[3].code);
    form_.header.year = Cp1253Text("2008");
    form_.creditBalances = true;
    form_.retailSales = Cp1253Text("10");
    form_.customersWithoutItemisation = Cp1253Text("2,5");
    form_.suppliersWithoutItemisation = Cp1253Text("7");
  }

  // The page the side should print, made from the same pieces by hand.
  std::string Expected(Side side) {
    StatementPageInput input;
    input.side = side;
    input.creditBalances = form_.creditBalances;
    input.filer =
        PageFilerFromHeader(form_.header, Cp1253Text(*Utf8ToCp1253(TaxOffices()[3].name)));
    input.lines = statement_.Table(side).Lines();
    const bool customers = side == Side::Customers;
    input.retailSales = customers ? form_.retailSales : Cp1253Text();
    input.withoutItemisation =
        customers ? form_.customersWithoutItemisation : form_.suppliersWithoutItemisation;
    input.invoiceTotal = statement_.InvoiceTotalText(side);
    input.valueTotal = statement_.ValueTotalText(side);
    return ComposeStatementPage(input).bytes();
  }

  ~PrintCommandTest() override { EXPECT_TRUE(listener_.refusals.empty()); }

  test::TempFolder working_;
  test::TempFolder program_;
  test::RecordingListener listener_;
  Statement statement_{working_.Path()};
  StatementForm form_;
  test::ScriptedQuestions questions_;
};

TEST_F(PrintCommandTest, WritesTheSidesPageAfterThePendingLine) {
  StoreLine(statement_, Side::Customers, "094014298", "3", "0,125");
  StoreLine(statement_, Side::Customers, "012345670", "12", "1234,5");
  StoreLine(statement_, Side::Suppliers, "094019245", "1", "7");

  // A refused line stops the print before any file is made, without a word of its own.
  questions_.SetPendingLineStored(false);
  EXPECT_FALSE(
      PrintStatementPage(statement_, questions_, Side::Customers, form_, program_.Path()).pagePath);
  EXPECT_TRUE(std::filesystem::is_empty(program_.Root()));

  questions_.SetPendingLineStored(true);
  const auto customers =
      PrintStatementPage(statement_, questions_, Side::Customers, form_, program_.Path());
  ASSERT_TRUE(customers.pagePath);
  EXPECT_EQ(*customers.pagePath, program_.Path("Pelates.htm"));
  const std::string page = ReadBytes(*customers.pagePath);
  EXPECT_EQ(page, Expected(Side::Customers));
  // The lines in stored order, the office by name, the totals as counted.
  EXPECT_LT(page.find("094014298"), page.find("012345670"));
  EXPECT_NE(page.find(*Utf8ToCp1253(TaxOffices()[3].name)), std::string::npos);
  EXPECT_NE(page.find(R"(<td class="style2">15</td>)"), std::string::npos);
  EXPECT_NE(page.find(R"(<td class="style2">1247,13</td>)"), std::string::npos);

  // The suppliers' page carries their own amount; a second print replaces the page.
  form_.creditBalances = false;
  form_.header.taxOfficeCode.clear();
  const auto suppliers =
      PrintStatementPage(statement_, questions_, Side::Suppliers, form_, program_.Path());
  ASSERT_TRUE(suppliers.pagePath);
  EXPECT_EQ(*suppliers.pagePath, program_.Path("Promitheftes.htm"));
  const std::string supplierPage = ReadBytes(*suppliers.pagePath);
  EXPECT_NE(supplierPage.find(R"(<td class="style2">14</td>)"), std::string::npos);
  EXPECT_EQ(supplierPage.find(*Utf8ToCp1253(TaxOffices()[3].name)), std::string::npos);
  EXPECT_EQ(supplierPage.find("012345670"), std::string::npos);
  EXPECT_TRUE(questions_.messages.empty());
  EXPECT_TRUE(questions_.warnings.empty());
}

TEST_F(PrintCommandTest, AFolderThatCannotTakeThePageIsReported) {
  const std::string missing = program_.Path("gone");
  EXPECT_FALSE(
      PrintStatementPage(statement_, questions_, Side::Customers, form_, missing).pagePath);
  ASSERT_EQ(questions_.warnings.size(), 1u);
  const std::string& warning = questions_.warnings.front();
  const std::string first = std::string(kPrintPreparationFailed) + "\n";
  EXPECT_EQ(warning.substr(0, first.size()), first);
  EXPECT_GT(warning.size(), first.size());
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace velmora
