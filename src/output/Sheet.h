#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One cell of a worksheet as its file holds it.
struct SheetCell {
  enum class Kind : std::uint8_t { Empty, Number, Text };
  Kind kind = Kind::Empty;
  double number = 0;
  // UTF-8, never empty for a text cell; valid while the sheet it came from lives.
  std::string_view text;
};

// The data area of a worksheet: from A1 to its last used cell, that is the last
// row and the last column that hold a value. Only the cells that hold a value are
// kept, so a stray far-away cell costs no memory for the blanks before it.
class Sheet {
 public:
  int RowCount() const { return rowCount_; }
  int ColumnCount() const { return columnCount_; }
  // 0-based; an empty cell anywhere nothing stands, inside the area or outside it.
  SheetCell Cell(int row, int column) const;
  // Calls visit(row, column, cell) for every cell that holds a value, row by row.
  template <typename Visit>
  void ForEachValue(Visit visit) const {
    for (const Entry& entry : entries_) {
      if (entry.kind != SheetCell::Kind::Empty)
        visit(static_cast<int>(entry.row), static_cast<int>(entry.column),
              Cell(static_cast<int>(entry.row), static_cast<int>(entry.column)));
    }
  }
  // The cells of a row from column 0 on, as many as `cells` holds; one look-up
  // for the row instead of one per cell.
  void RowCells(int row, std::span<SheetCell> cells) const;

 private:
  friend class SheetBuilder;

  struct TextSpan {
    std::uint32_t offset, length;
  };
  struct Entry {
    std::uint32_t row;
    std::uint16_t column;
    SheetCell::Kind kind;
    union {
      double number;
      TextSpan text;
    };
  };

  // A text offset with this bit set lies in source_, otherwise in text_.
  static constexpr std::uint32_t kInSource = 0x80000000u;

  std::string_view TextOf(const Entry& entry) const;

  std::vector<Entry> entries_;            // sorted by row, then column
  std::vector<std::uint32_t> rowStarts_;  // rowCount_ + 1 indexes into entries_
  std::string text_;                      // text cells' bytes, one after another
  std::string source_;                    // a file's bytes that text cells lie in
  int rowCount_ = 0;
  int columnCount_ = 0;
};

// Where the cells of a worksheet go as they are read, row by row.
class SheetCellSink {
 public:
  virtual ~SheetCellSink() = default;
  // How large the sheet says it is, before its cells: room can be made at once.
  virtual void Expect(int rows, int columns) = 0;
  virtual void Number(int row, int column, double value) = 0;
  // UTF-8, never empty.
  virtual void Text(int row, int column, std::string_view utf8) = 0;
};

// Collects cells in any order (a later value of the same cell wins) within fixed
// limits, so that no file can make the program hold more than a bounded amount.
class SheetBuilder {
 public:
  // A side holds at most 99,999 lines, one a row: a sheet of more rows could never
  // be imported, and the cells and texts allow 32 full columns a row beside them.
  static constexpr std::int64_t kMaxRows = 100'000;
  static constexpr std::int64_t kMaxColumns = 16'384;
  static constexpr std::size_t kMaxCells = 3'200'000;
  static constexpr std::size_t kMaxTextBytes = 64u * 1024 * 1024;

  // Cells beyond the limits are dropped and mark the sheet as too large.
  void SetNumber(std::int64_t row, std::int64_t column, double value);
  // Empty text makes an empty cell.
  void SetText(std::int64_t row, std::int64_t column, std::string_view utf8);
  void SetEmpty(std::int64_t row, std::int64_t column);

  // Keeps a text once for cells to share (a workbook's shared strings).
  struct TextRef {
    std::uint32_t offset = 0, length = 0;
  };
  TextRef KeepText(std::string_view utf8);
  void SetKeptText(std::int64_t row, std::int64_t column, TextRef text);

  // Lets the sheet keep a whole file's bytes, so that cells that stand in them as
  // they are (SetSourceText) need no copy. Returns the bytes where they now lie.
  std::string_view KeepSource(std::string bytes);
  // As SetText, for text that lies in the bytes KeepSource returned.
  void SetSourceText(std::int64_t row, std::int64_t column, std::string_view utf8);
  // Room for this many cells, ahead of them.
  void ReserveCells(std::size_t cells);

  bool TooLarge() const { return tooLarge_; }
  Sheet Finish() &&;

 private:
  bool Admit(std::int64_t row, std::int64_t column);

  // Within kMaxTextBytes: the bytes of every text cell set, wherever they lie.
  bool CountText(std::size_t bytes);

  Sheet sheet_;
  std::size_t textBytes_ = 0;
  bool sorted_ = true;
  bool tooLarge_ = false;
};

// Days from 30 December 1899 to a civil date: how spreadsheets hold dates.
int SpreadsheetDayNumber(int year, int month, int day);

}  // namespace velmora
