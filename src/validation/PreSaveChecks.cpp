#include "PreSaveChecks.h"

#include <functional>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "LineChecks.h"
#include "PlainText.h"

#include "Cp1253.h"
#include "FilerChecks.h"
#include "SaveFailedMessage.h"
#include "TaxNumber.h"

namespace velmora {

namespace {

constexpr const char* kWrongYear =
    "Γράψτε το έτος που αφορούν τα στοιχεία, με τέσσερα ψηφία (από 2005 έως σήμερα) και "
    "επαναλάβετε την αποθήκευση. Για δηλώσεις ετών πριν το 2005 κατεβάστε την προηγούμενη "
    "έκδοση του προγράμματος.";
const std::string kWrongFilerTaxNumber =
    std::string("Έχετε δώσει λανθασμένο ΑΦΜ Υπόχρεου. ") + kFixAndSaveAgain;
constexpr const char* kNoInstallationType =
    "Συμπληρώστε το Είδος εγκατάστασης και επαναλάβετε την αποθήκευση.";
constexpr const char* kNoTaxOffice = "Επιλέξτε τη ΔΟΥ και επαναλάβετε την αποθήκευση.";

// The supplier text has two blanks before the request to correct.
const char* FilerNumberMiddleText(Side side) {
  return side == Side::Customers ? " στους πελάτες είναι ίδιος με τον ΑΦΜ Υπόχρεου. "
                                 : " στους προμηθευτές είναι ίδιος με τον ΑΦΜ Υπόχρεου.  ";
}

void RequireSameLength(const std::vector<std::string>& taxNumbers,
                       const std::vector<std::string>& obligations) {
  if (taxNumbers.size() != obligations.size()) {
    throw std::invalid_argument("tax numbers and obligation codes differ in count");
  }
}

bool IsFourDigits(std::string_view text) { return text.size() == 4 && IsAllDigits(text); }

using LineKey = std::pair<std::string_view, std::string_view>;

struct LineKeyHash {
  size_t operator()(const LineKey& key) const {
    const size_t first = std::hash<std::string_view>{}(key.first);
    return first ^ (std::hash<std::string_view>{}(key.second) + 0x9e3779b97f4a7c15ULL +
                    (first << 6) + (first >> 2));
  }
};

Failure FilerFailure(std::string_view reason, bool beep, FilerFocus focus) {
  return {SaveFailedMessage(reason), beep, focus};
}

}  // namespace

Failure FilerNumberFailure(Side side, const std::string& taxNumber) {
  return {SaveFailedMessage("Ο ΑΦΜ: " + Cp1253ToUtf8(taxNumber) + FilerNumberMiddleText(side) +
                            kFixAndSaveAgain),
          true, FilerFocus::None};
}

Failure DuplicateFailure(Side side, const std::string& taxNumber, const std::string& obligation) {
  return {SaveFailedMessage("Ο ΑΦΜ: " + Cp1253ToUtf8(taxNumber) + DuplicateMiddleText(side) +
                            Cp1253ToUtf8(obligation) + "). " + kFixAndSaveAgain),
          true, FilerFocus::None};
}

std::optional<Failure> CheckFilerBeforeSave(std::string_view year, int currentYear,
                                            std::string_view filerTaxNumber,
                                            std::string_view installationType, bool officeChosen) {
  // The header record holds the year in exactly four characters.
  if (!IsFourDigits(year) || !IsYearAcceptable(year, currentYear)) {
    return FilerFailure(kWrongYear, true, FilerFocus::Year);
  }
  if (!IsValidTaxNumber(filerTaxNumber))
    return FilerFailure(kWrongFilerTaxNumber, false, FilerFocus::TaxNumber);
  if (installationType.empty())
    return FilerFailure(kNoInstallationType, false, FilerFocus::InstallationType);
  if (!officeChosen) return FilerFailure(kNoTaxOffice, false, FilerFocus::TaxOffice);
  return std::nullopt;
}

std::optional<Failure> CheckSideBeforeSave(Side side, const std::vector<std::string>& taxNumbers,
                                           const std::vector<std::string>& obligations,
                                           std::string_view filerTaxNumber) {
  RequireSameLength(taxNumbers, obligations);
  // How many lines from i onwards carry each (number, code); a count above one at
  // line i means a later line repeats it. The message names only the number and the
  // code, so which later line it is does not matter.
  std::unordered_map<LineKey, size_t, LineKeyHash> remaining;
  remaining.reserve(taxNumbers.size());
  for (size_t i = 0; i < taxNumbers.size(); ++i) ++remaining[{taxNumbers[i], obligations[i]}];

  for (size_t i = 0; i < taxNumbers.size(); ++i) {
    if (taxNumbers[i] == filerTaxNumber) return FilerNumberFailure(side, taxNumbers[i]);
    if (--remaining[{taxNumbers[i], obligations[i]}] > 0) {
      return DuplicateFailure(side, taxNumbers[i], obligations[i]);
    }
  }
  return std::nullopt;
}

}  // namespace velmora
