#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedQuestions.h"
#include "RecordLayout.h"
#include "Statement.h"
#include "StatementCommands.h"
#include "TestSupport.h"

namespace velmora {
namespace {

StatementForm ValidForm() {
  StatementForm form;
  form.header.year = Cp1253Text("2023");
  form.header.taxOfficeCode = Cp1253Text("1101");
  form.header.taxNumber = Cp1253Text("123456783");
  form.header.installationType = Cp1253Text("0");
  return form;
}

void StoreLine(RecordTable& table, const char* taxNumber, const char* value) {
  table.BeginAppend();
  table.SetFieldText(LineFieldName(Side::Customers, LineField::TaxNumber), taxNumber);
  table.SetFieldText(LineFieldName(Side::Customers, LineField::Obligation), "1");
  table.SetFieldText(LineFieldName(Side::Customers, LineField::InvoiceCount), "1");
  table.SetFieldText(LineFieldName(Side::Customers, LineField::Value), value);
  table.PostRecord();
}

TEST(StatementCommandsTest, SaveRefusesTotalsThatDisagreeWithTheLines) {
  const test::TempFolder folder;
  Statement statement(folder.Path());
  test::ScriptedQuestions questions;
  questions.Expect("Δημιουργία νέου αρχείου;", Questions::Answer::Yes);
  ASSERT_TRUE(NewStatement(statement, questions, {}, {}).shown.has_value());
  RecordTable& customers = statement.Table(Side::Customers);
  StoreLine(customers, "094014298", "10");

  // A line that reached the table behind the totals' back.
  customers.AfterPost = nullptr;
  StoreLine(customers, "999999993", "5");
  const Today today{2024, "20240520"};
  EXPECT_FALSE(SaveStatementAs(statement, questions, ValidForm(), today).saved);
  ASSERT_EQ(questions.messages.size(), 1u);
  EXPECT_EQ(questions.messages[0],
            "Η αποθήκευση σε αρχείο απέτυχε: Τα σύνολα των πελατών δεν συμφωνούν με τις γραμμές "
            "τους. Ελέγξτε τις αξίες των γραμμών και επαναλάβετε την αποθήκευση.");
  EXPECT_TRUE(questions.proposedNames.empty());  // no file was even offered

  // Once the totals are counted again, the same statement is written.
  const std::string path = folder.Path("saved.PIS");
  customers.SetPosition(customers.RecordCount());
  customers.DeleteRecord();  // the count runs again after a deletion
  questions.messages.clear();
  questions.ExpectSaveFile(path);
  EXPECT_TRUE(SaveStatementAs(statement, questions, ValidForm(), today).saved);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_TRUE(questions.AllAnswered());
}

TEST(StatementCommandsTest, NewOffersUnsavedChangesADeletionIncludedForSavingFirst) {
  const test::TempFolder folder;
  Statement statement(folder.Path());
  test::ScriptedQuestions questions;
  const Today today{2024, "20240520"};
  questions.Expect("Δημιουργία νέου αρχείου;", Questions::Answer::Yes);
  ASSERT_TRUE(NewStatement(statement, questions, {}, today).shown.has_value());
  StoreLine(statement.Table(Side::Customers), "094014298", "10");
  statement.SetModified(false);  // as after a save

  // A deletion is a change nobody typed.
  statement.Table(Side::Customers).DeleteRecord();
  EXPECT_TRUE(statement.Modified());
  questions.Expect(kUnsavedChangesQuestion, Questions::Answer::Cancel);
  EXPECT_FALSE(NewStatement(statement, questions, ValidForm(), today).shown.has_value());
  EXPECT_TRUE(statement.Modified());

  // "Ναι" saves first; the new statement follows only once the file is written.
  const std::string path = folder.Path("saved.PIS");
  questions.Expect(kUnsavedChangesQuestion, Questions::Answer::Yes);
  questions.ExpectSaveFile(path);
  questions.Expect("Δημιουργία νέου αρχείου;", Questions::Answer::Yes);
  const ReplacementOutcome outcome = NewStatement(statement, questions, ValidForm(), today);
  EXPECT_TRUE(outcome.shown.has_value());
  EXPECT_TRUE(outcome.savedForm.has_value());
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(statement.Modified());

  // "Όχι" throws the changes away.
  StoreLine(statement.Table(Side::Customers), "094014298", "10");
  statement.SetModified(true);
  questions.Expect(kUnsavedChangesQuestion, Questions::Answer::No);
  questions.Expect("Δημιουργία νέου αρχείου;", Questions::Answer::Yes);
  EXPECT_TRUE(NewStatement(statement, questions, ValidForm(), today).shown.has_value());
  EXPECT_EQ(statement.Table(Side::Customers).RecordCount(), 0);
  EXPECT_TRUE(questions.AllAnswered());
}

}  // namespace
}  // namespace velmora
