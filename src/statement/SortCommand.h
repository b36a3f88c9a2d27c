#pragma once

#include "LineOrder.h"
#include "Questions.h"
#include "Side.h"
#include "Statement.h"

namespace velmora {

struct SortOutcome {
  // The side's lines stand in their new order, in the table and in the working
  // file; the table is open on its first line.
  bool sorted = false;
};

// "Αλφαβητική Ταξινόμηση" / "Ταξινόμηση Ανά ΑΦΜ": the pending line of that side is
// stored first (a refused line stops everything), then the lines are put in the
// order of key for good and the statement counts as changed. No line's bytes
// change, the count and totals stay. A working file that cannot be written
// leaves the old order on disk and in the table, and the user is told why.
SortOutcome SortLines(Statement& statement, Questions& questions, Side side, SortKey key);

}  // namespace velmora
