#pragma once

#include <string_view>

namespace velmora {

// Shown when the year field is left with a year it does not accept.
inline constexpr const char* kWrongYearMessage =
    "Γράψτε το έτος που αφορούν τα στοιχεία, με τέσσερα ψηφία, από 2005 έως σήμερα. Για δηλώσεις "
    "ετών πριν το 2005, κατεβάστε την προηγούμενη έκδοση του προγράμματος";

// Shown when the filer's tax number field is left with an invalid number.
inline constexpr const char* kWrongFilerTaxNumberMessage = "Λάθος ΑΦΜ Υπόχρεου";

// The year of the data: a whole number from 2005 up to the current year.
bool IsYearAcceptable(std::string_view text, int currentYear);

}  // namespace velmora
