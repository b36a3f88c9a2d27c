#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "PagePlan.h"
#include "TextWrap.h"

namespace velmora {
namespace {

// Pages as "first-end" of their rows, "+o" with the opening, "+c" with the closing rows.
std::string Describe(const std::vector<PlannedPage>& pages) {
  std::string text;
  for (const PlannedPage& page : pages) {
    if (!text.empty()) text += ' ';
    text += std::to_string(page.firstRow) + '-' + std::to_string(page.endRow);
    if (page.opening) text += "+o";
    if (page.closing) text += "+c";
  }
  return text;
}

TEST(PagePlanTest, BreaksPagesBetweenRowsAndKeepsTheClosingRowsTogether) {
  struct Case {
    const char* what;
    PageHeights heights;
    std::vector<float> rows;
    const char* pages;
  };
  // A body of 100 with a heading row of 10 holds 9 rows of 10 on a later page;
  // the opening of 30 leaves room for 6 on the first.
  const PageHeights plain{100, 30, 10, 20};
  const std::vector<Case> cases = {
      {"no lines: heading row and closing rows only", plain, {}, "0-0+o+c"},
      {"one page exactly full", plain, std::vector<float>(4, 10), "0-4+o+c"},
      {"closing rows do not fit: the last line goes over with them", plain,
       std::vector<float>(5, 10), "0-4+o 4-5+c"},
      {"a last line alone on its page stays there",
       plain,
       {10, 10, 10, 10, 10, 10, 85},
       "0-6+o 6-7 7-7+c"},
      {"heading row repeated: 9 rows on later pages", plain, std::vector<float>(20, 10),
       "0-6+o 6-15 15-20+c"},
      {"a tall row is never split", plain, {10, 10, 10, 10, 10, 25, 10}, "0-5+o 5-7+c"},
      {"a row taller than a page still gets one", plain, {150, 10}, "0-1+o 1-2+c"},
      {"a wrapped row in the middle", plain, {10, 10, 10, 10, 10, 10, 20, 10, 10}, "0-6+o 6-9+c"},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(PlanPages(c.heights, c.rows)), c.pages) << c.what;

  // 99,999 one-line rows: every row on exactly one page, in order.
  const std::vector<float> many(99'999, 10);
  const auto pages = PlanPages(plain, many);
  std::size_t next = 0;
  for (const PlannedPage& page : pages) {
    EXPECT_EQ(page.firstRow, next);
    next = page.endRow;
  }
  EXPECT_EQ(next, many.size());
  EXPECT_EQ(pages.size(), 1 + (99'999 - 6 + 8) / 9);
  EXPECT_TRUE(pages.back().closing);
}

TEST(PagePlanTest, WrapsCellTextsAndNumbersPages) {
  // Every character is one unit wide.
  const TextWidth width = [](std::string_view text) { return static_cast<double>(text.size()); };
  struct Case {
    std::string_view text;
    double room;
    std::vector<std::string_view> lines;
  };
  const std::vector<Case> cases = {
      {"", 5, {""}},
      {"ABC DE", 6, {"ABC DE"}},
      {"ONE TWO THREE", 8, {"ONE TWO", "THREE"}},
      {"ONE   TWO", 4, {"ONE", "TWO"}},
      {"LONGERWORD X", 4, {"LONG", "ERWO", "RD X"}},
      {"A\nB C", 10, {"A", "B C"}},
      {"TRAIL   ", 5, {"TRAIL"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WrapText(c.text, c.room, width), c.lines) << c.text;
    EXPECT_EQ(WrappedLineCount(c.text, c.room, width), c.lines.size()) << c.text;
  }

  EXPECT_EQ(PageNumberText(3, 3125), "Σελίδα 3 από 3.125");
  EXPECT_EQ(PageNumberText(1, 1), "Σελίδα 1 από 1");
  EXPECT_EQ(PageNumberText(1000, 1'234'567), "Σελίδα 1.000 από 1.234.567");
}

}  // namespace
}  // namespace velmora
