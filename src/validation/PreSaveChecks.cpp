#include "PreSaveChecks.h"

#include <functional>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "LineChecks.h"

#include "Cp1253.h"
#include "FilerChecks.h"
#include "TaxNumber.h"

namespace velmora {

namespace {

constexpr const char* kFailed = "Η αποθήκευση σε αρχείο απέτυχε: ";
constexpr const char* kRetry = "Διορθώστε το και επαναλάβετε την αποθήκευση.";

constexpr const char* kWrongYear =
    "Η αποθήκευση σε αρχείο απέτυχε: Γράψτε το έτος που αφορούν τα στοιχεία, με τέσσερα ψηφία "
    "(από 2005 έως σήμερα) και επαναλάβετε την αποθήκευση. Για δηλώσεις ετών πριν το 2005 "
    "κατεβάστε την προηγούμενη έκδοση του προγράμματος.";
constexpr const char* kWrongFilerAfm =
    "Η αποθήκευση σε αρχείο απέτυχε: Έχετε δώσει λανθασμένο ΑΦΜ Υπόχρεου. Διορθώστε το και "
    "επαναλάβετε την αποθήκευση.";
constexpr const char* kNoInstallationType =
    "Η αποθήκευση σε αρχείο απέτυχε: Συμπληρώστε το Είδος εγκατάστασης και επαναλάβετε την "
    "αποθήκευση.";
constexpr const char* kNoTaxOffice =
    "Η αποθήκευση σε αρχείο απέτυχε: Επιλέξτε τη ΔΟΥ και επαναλάβετε την αποθήκευση.";

// The supplier text has two blanks before the request to correct.
const char* FilerNumberMiddleText(Side side) {
  return side == Side::Customers ? " στους πελάτες είναι ίδιος με τον ΑΦΜ Υπόχρεου. "
                                 : " στους προμηθευτές είναι ίδιος με τον ΑΦΜ Υπόχρεου.  ";
}

SaveCheckFailure FilerNumberFailure(Side side, const std::string& afm) {
  return {
      std::string(kFailed) + "Ο ΑΦΜ: " + Cp1253ToUtf8(afm) + FilerNumberMiddleText(side) + kRetry,
      true, FilerFocus::None};
}

SaveCheckFailure DuplicateFailure(Side side, const std::string& afm, const std::string& ypovolh) {
  return {std::string(kFailed) + "Ο ΑΦΜ: " + Cp1253ToUtf8(afm) + DuplicateMiddleText(side) +
              Cp1253ToUtf8(ypovolh) + "). " + kRetry,
          true, FilerFocus::None};
}

void RequireSameLength(const std::vector<std::string>& afms,
                       const std::vector<std::string>& ypovolhs) {
  if (afms.size() != ypovolhs.size()) {
    throw std::invalid_argument("tax numbers and obligation codes differ in count");
  }
}

bool IsFourDigits(std::string_view text) {
  if (text.size() != 4) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

using LineKey = std::pair<std::string_view, std::string_view>;

struct LineKeyHash {
  size_t operator()(const LineKey& key) const {
    const size_t first = std::hash<std::string_view>{}(key.first);
    return first ^ (std::hash<std::string_view>{}(key.second) + 0x9e3779b97f4a7c15ULL +
                    (first << 6) + (first >> 2));
  }
};

}  // namespace

std::optional<SaveCheckFailure> CheckFilerBeforeSave(std::string_view year, int currentYear,
                                                     std::string_view filerAfm,
                                                     std::string_view installationType,
                                                     bool officeChosen) {
  // The header record holds the year in exactly four characters.
  if (!IsFourDigits(year) || !IsYearAcceptable(year, currentYear)) {
    return SaveCheckFailure{kWrongYear, true, FilerFocus::YearOfData};
  }
  if (!CheckAFM(filerAfm)) return SaveCheckFailure{kWrongFilerAfm, false, FilerFocus::AFM};
  if (installationType.empty()) {
    return SaveCheckFailure{kNoInstallationType, false, FilerFocus::Egatastash};
  }
  if (!officeChosen) return SaveCheckFailure{kNoTaxOffice, false, FilerFocus::ComboBox1};
  return std::nullopt;
}

std::optional<SaveCheckFailure> CheckSideBeforeSave(Side side, const std::vector<std::string>& afms,
                                                    const std::vector<std::string>& ypovolhs,
                                                    std::string_view filerAfm) {
  RequireSameLength(afms, ypovolhs);
  // How many lines from i onwards carry each (number, code); a count above one at
  // line i means a later line repeats it. The message names only the number and the
  // code, so which later line it is does not matter.
  std::unordered_map<LineKey, size_t, LineKeyHash> remaining;
  remaining.reserve(afms.size());
  for (size_t i = 0; i < afms.size(); ++i) ++remaining[{afms[i], ypovolhs[i]}];

  for (size_t i = 0; i < afms.size(); ++i) {
    if (afms[i] == filerAfm) return FilerNumberFailure(side, afms[i]);
    if (--remaining[{afms[i], ypovolhs[i]}] > 0) {
      return DuplicateFailure(side, afms[i], ypovolhs[i]);
    }
  }
  return std::nullopt;
}

std::optional<SaveCheckFailure> CheckSideBeforeSavePairwise(
    Side side, const std::vector<std::string>& afms, const std::vector<std::string>& ypovolhs,
    std::string_view filerAfm) {
  RequireSameLength(afms, ypovolhs);
  for (size_t i = 0; i < afms.size(); ++i) {
    if (afms[i] == filerAfm) return FilerNumberFailure(side, afms[i]);
    for (size_t j = i + 1; j < afms.size(); ++j) {
      if (afms[i] == afms[j] && ypovolhs[i] == ypovolhs[j]) {
        return DuplicateFailure(side, afms[i], ypovolhs[i]);
      }
    }
  }
  return std::nullopt;
}

}  // namespace velmora
