#include "PagePlan.h"

namespace velmora {

std::vector<PlannedPage> PlanPages(const PageHeights& heights, std::span<const float> rowHeights) {
  std::vector<PlannedPage> pages;
  PlannedPage page{0, 0, true, false};
  double used = heights.opening + heights.headingRow;
  for (std::size_t row = 0; row < rowHeights.size(); ++row) {
    const bool pageHasRows = page.endRow > page.firstRow;
    if (used + rowHeights[row] > heights.body && pageHasRows) {
      pages.push_back(page);
      page = PlannedPage{row, row, false, false};
      used = heights.headingRow;
    }
    used += rowHeights[row];
    page.endRow = row + 1;
  }
  if (used + heights.closing > heights.body && page.endRow > page.firstRow) {
    // The last line goes over with the totals, which so never stand alone on a page.
    const std::size_t carried = page.endRow - page.firstRow > 1 ? 1 : 0;
    page.endRow -= carried;
    pages.push_back(page);
    page = PlannedPage{page.endRow, page.endRow + carried, false, false};
  }
  page.closing = true;
  pages.push_back(page);
  return pages;
}

namespace {

std::string Grouped(std::size_t number) {
  std::string digits = std::to_string(number);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, '.');
  return digits;
}

}  // namespace

std::string PageNumberText(std::size_t page, std::size_t pageCount) {
  return "Σελίδα " + Grouped(page) + " από " + Grouped(pageCount);
}

}  // namespace velmora
