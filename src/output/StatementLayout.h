#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "StatementPage.h"

namespace velmora {

// One cell of a printed table: its text (Windows-1253, shown as it is, a '\n'
// breaking the line) and the columns it spans.
struct LayoutCell {
  std::string text;
  int column = 0;
  int span = 1;
  bool bold = false;
  bool centred = false;
};

using LayoutRow = std::vector<LayoutCell>;

// A table of the page: the share of the width each column takes, and its rows.
struct LayoutTable {
  std::vector<double> columnShares;
  bool ruled = false;
  std::vector<LayoutRow> rows;
};

// The printable statement as cells, made from the same input as the page file
// (Pelates.htm / Promitheftes.htm), with its headings, texts, order of cells and
// number forms. The lines' rows are made one at a time, on demand.
class StatementLayout {
 public:
  static constexpr int kLineColumns = 7;
  using LineCells = std::array<std::string, kLineColumns>;
  // A cell as the pieces of text it is joined from, unused pieces empty.
  using CellPieces = std::array<std::string_view, 5>;
  using LinePieces = std::array<CellPieces, kLineColumns>;

  // The input's lines are seen where they are held: they must outlive the layout.
  explicit StatementLayout(const StatementPageInput& input);

  // "DALMERIN - QUORVANE", in small print at the top of every page.
  const std::string& PageHead() const { return pageHead_; }
  // The statement's heading, then "ΠΙΣΤΩΤΙΚΑ ΥΠΟΛΟΙΠΑ" when credit balances were
  // chosen: centred lines on the first page.
  const std::vector<std::string>& Headings() const { return headings_; }
  // The identification and the filer's tables, on the first page below the headings.
  const std::vector<LayoutTable>& OpeningTables() const { return openingTables_; }

  // The lines table: its shares, its heading row (repeated on every page), the
  // rows of the lines and the amount and total rows after them.
  static const std::array<double, kLineColumns>& LineColumnShares();
  const LayoutRow& HeadingRow() const { return headingRow_; }
  std::size_t LineCount() const { return lines_.size(); }
  // The row of the line at index (from 0), into cells, whose room is reused.
  void FillLineCells(std::size_t index, LineCells& cells) const;
  // The same row as pieces seen in the line itself (the running number written into
  // digits, which must outlive them): a row measured without copying its texts.
  void FillLinePieces(std::size_t index, LinePieces& pieces, std::array<char, 24>& digits) const;
  const std::vector<LayoutRow>& ClosingRows() const { return closingRows_; }

 private:
  std::span<const std::string> lines_;
  std::string pageHead_;
  std::vector<std::string> headings_;
  std::vector<LayoutTable> openingTables_;
  LayoutRow headingRow_;
  std::vector<LayoutRow> closingRows_;
};

}  // namespace velmora
