#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "PairwisePreSaveCheck.h"
#include "PreSaveChecks.h"

namespace velmora {
namespace {

using Lists = std::vector<std::string>;
constexpr const char* kFilerTaxNumber = "094019245";
const std::string kFailed = "Η αποθήκευση σε αρχείο απέτυχε: ";

void ExpectFailure(const std::optional<Failure>& failure, const std::string& message, bool beep,
                   FilerFocus focus) {
  ASSERT_TRUE(failure) << message;
  EXPECT_EQ(failure->message, message);
  EXPECT_EQ(failure->beep, beep);
  EXPECT_EQ(failure->focus, focus);
}

TEST(PreSaveChecksTest, FilerDetailsInOrder) {
  const auto filer = [](std::string_view year, std::string_view taxNumber, std::string_view kind,
                        bool office) {
    return CheckFilerBeforeSave(year, 2026, taxNumber, kind, office);
  };
  for (const char* year : {"", "2004", "2027", "20a8", "+205", "02008"}) {
    ExpectFailure(filer(year, "bad", "", false),
                  kFailed +
                      "Γράψτε το έτος που αφορούν τα στοιχεία, με τέσσερα ψηφία (από 2005 έως "
                      "σήμερα) και επαναλάβετε την αποθήκευση. Για δηλώσεις ετών πριν το 2005 "
                      "κατεβάστε την προηγούμενη έκδοση του προγράμματος.",
                  true, FilerFocus::Year);
  }
  EXPECT_FALSE(filer("2005", kFilerTaxNumber, "0", true));
  EXPECT_FALSE(filer("2026", kFilerTaxNumber, "E", true));

  ExpectFailure(filer("2008", "123456789", "", false),
                kFailed +
                    "Έχετε δώσει λανθασμένο ΑΦΜ Υπόχρεου. Διορθώστε το και επαναλάβετε την "
                    "αποθήκευση.",
                false, FilerFocus::TaxNumber);
  ExpectFailure(filer("2008", kFilerTaxNumber, "", false),
                kFailed + "Συμπληρώστε το Είδος εγκατάστασης και επαναλάβετε την αποθήκευση.",
                false, FilerFocus::InstallationType);
  ExpectFailure(filer("2008", kFilerTaxNumber, "0", false),
                kFailed + "Επιλέξτε τη ΔΟΥ και επαναλάβετε την αποθήκευση.", false,
                FilerFocus::TaxOffice);
}

TEST(PreSaveChecksTest, LinesAgainstTheFilerAndEachOther) {
  const std::string x = "123456783";
  const std::string retry = "Διορθώστε το και επαναλάβετε την αποθήκευση.";
  for (const auto check : {CheckSideBeforeSave, reference::CheckSideBeforeSavePairwise}) {
    // The message of a failure, which always beeps and moves no focus; empty on a pass.
    const auto message = [&](Side side, const Lists& taxNumbers, const Lists& codes) {
      const auto failure = check(side, taxNumbers, codes, kFilerTaxNumber);
      if (!failure) return std::string();
      EXPECT_TRUE(failure->beep);
      EXPECT_EQ(failure->focus, FilerFocus::None);
      return failure->message;
    };
    EXPECT_EQ(message(Side::Customers, {}, {}), "");
    EXPECT_EQ(message(Side::Customers, {x, x}, {"0", "1"}), "");
    EXPECT_EQ(message(Side::Customers, {x, x}, {"1", "1"}),
              kFailed +
                  "Ο ΑΦΜ: 123456783 έχει εισαχθεί 2 φορές στους πελάτες με τον ίδιο κωδικό "
                  "υπόχρεου (1). " +
                  retry);
    EXPECT_EQ(
        message(Side::Suppliers, {"\xC1", "\xC1"}, {"0", "0"}),
        kFailed +
            "Ο ΑΦΜ: Α έχει εισαχθεί 2 φορές στους προμηθευτές με τον ίδιο κωδικό υπόχρεου (0). " +
            retry);
    EXPECT_EQ(message(Side::Customers, {kFilerTaxNumber}, {"0"}),
              kFailed + "Ο ΑΦΜ: 094019245 στους πελάτες είναι ίδιος με τον ΑΦΜ Υπόχρεου. " + retry);
    // Two blanks before the request to correct on the supplier side.
    EXPECT_EQ(
        message(Side::Suppliers, {x, kFilerTaxNumber}, {"0", "1"}),
        kFailed + "Ο ΑΦΜ: 094019245 στους προμηθευτές είναι ίδιος με τον ΑΦΜ Υπόχρεου.  " + retry);
    // Line 1 with its duplicates is finished before line 2 meets the filer's number.
    EXPECT_NE(
        message(Side::Customers, {x, kFilerTaxNumber, x}, {"0", "0", "0"}).find("123456783 έχει"),
        std::string::npos);
  }
  EXPECT_THROW(CheckSideBeforeSave(Side::Customers, Lists{x}, Lists{}, kFilerTaxNumber),
               std::invalid_argument);
}

TEST(PreSaveChecksTest, LinearAgreesWithPairwiseOnRandomLists) {
  std::mt19937 random(20260517);
  const Lists pool = {"123456783", "094019245", "090000045", "\xC1\xC2", "", "12345"};
  std::uniform_int_distribution<size_t> pick(0, pool.size() - 1), length(0, 30);
  std::bernoulli_distribution obliged(0.6);
  int passes = 0, filerFailures = 0, duplicateFailures = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::string filer = round % 3 == 0 ? "999999999" : pool[pick(random)];
    // Odd rounds widen the numbers with a suffix, so that some lists pass.
    Lists taxNumbers, codes;
    for (size_t n = length(random); n > 0; --n) {
      taxNumbers.push_back(pool[pick(random)] + (round % 2 ? std::to_string(n % 5) : ""));
      codes.push_back(obliged(random) ? "0" : "1");
    }
    const Side side = round % 4 < 2 ? Side::Customers : Side::Suppliers;
    const auto linear = CheckSideBeforeSave(side, taxNumbers, codes, filer);
    const auto pairwise = reference::CheckSideBeforeSavePairwise(side, taxNumbers, codes, filer);
    ASSERT_EQ(linear.has_value(), pairwise.has_value()) << round;
    if (!linear) {
      ++passes;
      continue;
    }
    ASSERT_EQ(linear->message, pairwise->message) << round;
    ASSERT_EQ(linear->beep, pairwise->beep);
    ++(linear->message.find("είναι ίδιος") != std::string::npos ? filerFailures
                                                                : duplicateFailures);
  }
  // Every outcome must occur often for the comparison to mean anything.
  EXPECT_GT(passes, 100);
  EXPECT_GT(filerFailures, 100);
  EXPECT_GT(duplicateFailures, 100);
}

}  // namespace
}  // namespace velmora
