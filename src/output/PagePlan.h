#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace velmora {

// The heights of the parts of a printed statement, all in one unit.
struct PageHeights {
  // What a page holds between its head and its foot (both repeated on every page).
  double body = 0;
  // The statement's heading, the identification and the filer's tables: the first page only.
  double opening = 0;
  // The lines table's heading row, repeated at the top of every page.
  double headingRow = 0;
  // The amount and total rows after the last line, kept together.
  double closing = 0;
};

// One page: the lines' rows [firstRow, endRow), after the opening on the first
// page, and followed by the closing rows on the last.
struct PlannedPage {
  std::size_t firstRow = 0;
  std::size_t endRow = 0;
  bool opening = false;
  bool closing = false;
};

// Where the page breaks fall: rows in order, as many on a page as fit under the
// heading row, never split; the closing rows on the page of the last row when they
// fit there, else on the next page (heading row again) together with the last row,
// unless that row is alone on its page. A row taller than a page still gets a page,
// overflowing it, rather than none.
std::vector<PlannedPage> PlanPages(const PageHeights& heights, std::span<const float> rowHeights);

// The foot of a page, "Σελίδα 3 από 3.125" (UTF-8): numbers from 1, thousands
// grouped with a dot as Greek writes them.
std::string PageNumberText(std::size_t page, std::size_t pageCount);

}  // namespace velmora
