#pragma once

#include "AutomaticAnswers.h"
#include "FigureReport.h"
#include "Statement.h"

namespace velmora {

// "Αλφαβητική Ταξινόμηση", "Ταξινόμηση Ανά ΑΦΜ" and "Εύρεση..." on the customer side
// of an opened statement, each beside its yardstick: sort_by_name, sort_by_afm,
// sort_with_ties, find_last, and sort_exact against the exchange sort. The
// customer lines are left in another order, and the statement marked as changed.
void RunSortFigures(Statement& statement, AutomaticAnswers& answers, FigureReport& report);

}  // namespace velmora
