#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "StatementProblems.h"
#include "WorkingLine.h"

namespace velmora {
namespace {

using test::WorkingLine;
using F = LineField;

constexpr const char* kFiler = "094019245";

std::string Typed(Side side, const char* taxNumber, const char* obligation, const char* invoices,
                  const char* value) {
  return WorkingLine(side, {{F::TaxNumber, taxNumber},
                            {F::Obligation, obligation},
                            {F::InvoiceCount, invoices},
                            {F::Value, value}});
}

struct Expected {
  std::optional<Side> side;
  std::size_t line;
  LineField field;
  FilerFocus filerField;
  std::string messageStart;
};

TEST(StatementProblemsTest, ListsEveryProblemInPlaceAndOrderWithTheChecksOwnMessages) {
  const Side C = Side::Customers, S = Side::Suppliers;
  const std::vector<std::string> customers = {
      Typed(C, "012345670", "1", "2", "10"), Typed(C, "123456783", "1", "2", ""),
      Typed(C, "012345670", "1", "3", "20"),  // repeats line 1
      Typed(C, "094014201", "1", "0", "5"),  Typed(C, "094014201", "0", "1", "0"),
      Typed(C, "12", "0", "1", "5"),
  };
  const std::vector<std::string> suppliers = {
      Typed(S, kFiler, "1", "1", "5"),
      Typed(S, "123456783", "1", "1", "1,2,3"),
      Typed(S, "012345670", "1", "1", "7"),
  };
  StatementUnderCheck statement;
  statement.year = "2099";
  statement.currentYear = 2024;
  statement.filerTaxNumber = kFiler;
  statement.installationType = "0";
  statement.taxOfficeChosen = true;
  statement.customerLines = &customers;
  statement.supplierLines = &suppliers;

  const std::string saveFailed = "Η αποθήκευση σε αρχείο απέτυχε: ";
  const std::vector<Expected> expected = {
      {std::nullopt, 0, F::TaxNumber, FilerFocus::Year, saveFailed + "Γράψτε το έτος"},
      // The save names the first of two lines alike, the line check the later one.
      {C, 0, F::TaxNumber, FilerFocus::None, saveFailed + "Ο ΑΦΜ: 012345670"},
      {C, 1, F::Value, FilerFocus::None, "Πρέπει να συμπληρώσετε τα πεδία ΑΦΜ"},
      {C, 2, F::TaxNumber, FilerFocus::None, "Ο ΑΦΜ: 012345670"},
      {C, 3, F::InvoiceCount, FilerFocus::None, "Ο αριθμός τιμολογίων πρέπει να είναι >0 "},
      {C, 4, F::InvoiceCount, FilerFocus::None, "Εφόσον η αξία είναι 0"},
      {C, 5, F::TaxNumber, FilerFocus::None,
       "Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή πελάτη"},
      {S, 0, F::TaxNumber, FilerFocus::None, "O ΑΦΜ που εισάγατε είναι ίδιος με τον ΑΦΜ υπόχρεου."},
      {S, 0, F::TaxNumber, FilerFocus::None, saveFailed + "Ο ΑΦΜ: 094019245 στους προμηθευτές"},
      {S, 1, F::Value, FilerFocus::None, "Η τιμή '1,2,3' δεν είναι έγκυρος αριθμός"},
  };

  const std::vector<StatementProblem> listed = ListStatementProblems(statement);
  ASSERT_EQ(listed.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("problem " + std::to_string(i) + ": " + listed[i].message);
    EXPECT_EQ(listed[i].side, expected[i].side);
    EXPECT_EQ(listed[i].line, expected[i].line);
    if (expected[i].side) {
      EXPECT_EQ(listed[i].field, expected[i].field);
    }
    EXPECT_EQ(listed[i].filerField, expected[i].filerField);
    EXPECT_EQ(listed[i].message.rfind(expected[i].messageStart, 0), 0u);
  }

  // A clean statement has nothing to list.
  statement.year = "2023";
  const std::vector<std::string> clean = {Typed(C, "012345670", "1", "2", "10")};
  statement.customerLines = &clean;
  statement.supplierLines = nullptr;
  EXPECT_TRUE(ListStatementProblems(statement).empty());
}

}  // namespace
}  // namespace velmora
