#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "LineChecks.h"

namespace velmora {
namespace {

constexpr const char* kFilerTaxNumber = "094019245";
constexpr const char* kValidTaxNumber = "123456783";
constexpr const char* kMandatory =
    "Πρέπει να συμπληρώσετε τα πεδία ΑΦΜ, Υπόχρεος, Αριθ. τιμολογίων, Αξία";
constexpr const char* kZeroValue =
    "Εφόσον η αξία είναι 0, ο αριθμός τιμολογίων πρέπει να είναι >1 ";

// Checks a line against a stored list whose first line with the number has the code
// `stored`; `asked` records the lookups.
LineVerdict Check(Side side, std::string taxNumber, std::string obligation, std::string count,
                  std::string value, std::optional<std::string> stored = std::nullopt,
                  bool newLine = true, std::vector<std::string>* asked = nullptr) {
  const LineCheckInput in{side, taxNumber, obligation, count, value, kFilerTaxNumber, newLine};
  return CheckLine(in, [&](const std::string& key) {
    if (asked) asked->push_back(key);
    return stored;
  });
}

std::string Message(Side side, std::string taxNumber, std::string obligation, std::string count,
                    std::string value, std::optional<std::string> stored = std::nullopt) {
  return Check(side, taxNumber, obligation, count, value, stored).message;
}

TEST(LineChecksTest, FilerNumberThenDuplicateOfFirstStoredLine) {
  std::vector<std::string> asked;
  const LineVerdict own = Check(Side::Customers, kFilerTaxNumber, "", "", "", "0", true, &asked);
  EXPECT_FALSE(own.accepted);
  EXPECT_EQ(own.message, "O ΑΦΜ που εισάγατε είναι ίδιος με τον ΑΦΜ υπόχρεου.");  // Latin O
  EXPECT_TRUE(asked.empty());

  EXPECT_EQ(Message(Side::Customers, "123456789", "0", "", "", "0"),
            "Ο ΑΦΜ: 123456789 έχει εισαχθεί 2 φορές στους πελάτες με τον ίδιο κωδικό υπόχρεου (0)");
  EXPECT_EQ(Message(Side::Suppliers, "\xC1\xC2", "1", "1", "5", "1"),
            "Ο ΑΦΜ: ΑΒ έχει εισαχθεί 2 φορές στους προμηθευτές με τον ίδιο κωδικό υπόχρεου (1)");
  // The first stored line has the other code: stored, whatever later lines hold.
  EXPECT_TRUE(Check(Side::Customers, kValidTaxNumber, "0", "1", "5", "1", true, &asked).accepted);
  EXPECT_EQ(asked, std::vector<std::string>{kValidTaxNumber});
  // An edited line is never looked up.
  asked.clear();
  EXPECT_TRUE(Check(Side::Customers, kValidTaxNumber, "0", "1", "5", "0", false, &asked).accepted);
  EXPECT_TRUE(asked.empty());
}

TEST(LineChecksTest, MandatoryFieldsThenCheckDigitOfObligedOnly) {
  EXPECT_EQ(Message(Side::Customers, "", "0", "1", "5"), kMandatory);
  // A missing number is missing, not the filer's, while the filer's is empty too.
  const LineCheckInput noNumbers{Side::Customers, "", "0", "1", "5", "", true};
  EXPECT_EQ(CheckLine(noNumbers, [](const std::string&) { return std::nullopt; }).message,
            kMandatory);
  EXPECT_EQ(Message(Side::Customers, kValidTaxNumber, "", "1", "5"), kMandatory);
  EXPECT_EQ(Message(Side::Suppliers, kValidTaxNumber, "0", "", "5"), kMandatory);
  EXPECT_EQ(Message(Side::Customers, "123456789", "0", "1", ""), kMandatory);

  EXPECT_EQ(Message(Side::Customers, "123456789", "0", "1", "5"),
            "Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή πελάτη");
  EXPECT_EQ(Message(Side::Suppliers, "12345", "0", "1", "5"),
            "Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή προμηθευτή");
  EXPECT_TRUE(Check(Side::Customers, "123456789", "1", "1", "5").accepted);
  EXPECT_TRUE(Check(Side::Suppliers, "12345", "1", "1", "5").accepted);
}

TEST(LineChecksTest, InvoiceCountAgainstValue) {
  EXPECT_EQ(Message(Side::Suppliers, kValidTaxNumber, "0", "1", "0"), kZeroValue);
  EXPECT_EQ(Message(Side::Customers, kValidTaxNumber, "0", "1", "0,004"), kZeroValue);  // 0 cents
  EXPECT_EQ(Message(Side::Customers, kValidTaxNumber, "0", "0", "0"), kZeroValue);
  EXPECT_EQ(Message(Side::Customers, kValidTaxNumber, "0", "0", "10"),
            "Ο αριθμός τιμολογίων πρέπει να είναι >0 ");
  EXPECT_TRUE(Check(Side::Suppliers, kValidTaxNumber, "0", "0", "10").accepted);
  EXPECT_TRUE(Check(Side::Customers, kValidTaxNumber, "0", "2", "0").accepted);
}

TEST(LineChecksTest, AcceptedValueIsNormalised) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"12,345", "12,35"}, {"0012", "12"}, {"5,", "5"}, {"0,50", "0,5"}, {",", "0"}, {"0", "0"}};
  for (const auto& [typed, stored] : cases) {
    const LineVerdict verdict = Check(Side::Customers, kValidTaxNumber, "0", "2", typed);
    EXPECT_TRUE(verdict.accepted) << typed;
    EXPECT_EQ(verdict.normalisedValue, stored) << typed;
  }
}

TEST(LineChecksTest, TextsThatDoNotConvertAreRefused) {
  EXPECT_EQ(Message(Side::Customers, kValidTaxNumber, "0", "1", "1.5"),
            "Η τιμή '1.5' δεν είναι έγκυρος αριθμός (η υποδιαστολή είναι το κόμμα)");
  // The value before the count; data text reaches the message as UTF-8.
  EXPECT_EQ(Message(Side::Suppliers, kValidTaxNumber, "0", "x", "\xE1"),
            "Η τιμή 'α' δεν είναι έγκυρος αριθμός (η υποδιαστολή είναι το κόμμα)");
  EXPECT_EQ(Message(Side::Customers, kValidTaxNumber, "0", "1,5", "10"),
            "Ο αριθμός τιμολογίων '1,5' δεν είναι έγκυρος ακέραιος αριθμός");
  // A supplier's count must convert even when the value is not zero.
  EXPECT_EQ(Message(Side::Suppliers, kValidTaxNumber, "0", "\xE4\xFD\xEF", "10"),
            "Ο αριθμός τιμολογίων 'δύο' δεν είναι έγκυρος ακέραιος αριθμός");
}

}  // namespace
}  // namespace velmora
