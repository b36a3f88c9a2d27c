#include "Sheet.h"

#include <algorithm>

namespace velmora {

SheetCell Sheet::Cell(int row, int column) const {
  if (row < 0 || row >= rowCount_ || column < 0 || column >= columnCount_) return {};
  const auto first = entries_.begin() + rowStarts_[row];
  const auto last = entries_.begin() + rowStarts_[row + 1];
  const auto it = std::lower_bound(first, last, column,
                                   [](const Entry& entry, int c) { return entry.column < c; });
  if (it == last || it->column != column) return {};
  SheetCell cell;
  cell.kind = it->kind;
  if (it->kind == SheetCell::Kind::Number) {
    cell.number = it->number;
  } else {
    cell.text = TextOf(*it);
  }
  return cell;
}

void Sheet::RowCells(int row, std::span<SheetCell> cells) const {
  std::fill(cells.begin(), cells.end(), SheetCell{});
  if (row < 0 || row >= rowCount_) return;
  for (std::uint32_t i = rowStarts_[row]; i < rowStarts_[row + 1]; ++i) {
    const Entry& entry = entries_[i];
    if (entry.column >= cells.size()) break;
    SheetCell& cell = cells[entry.column];
    cell.kind = entry.kind;
    if (entry.kind == SheetCell::Kind::Number) {
      cell.number = entry.number;
    } else {
      cell.text = TextOf(entry);
    }
  }
}

std::string_view Sheet::TextOf(const Entry& entry) const {
  if ((entry.text.offset & kInSource) != 0)
    return std::string_view(source_).substr(entry.text.offset & ~kInSource, entry.text.length);
  return std::string_view(text_).substr(entry.text.offset, entry.text.length);
}

bool SheetBuilder::Admit(std::int64_t row, std::int64_t column) {
  if (row < 0 || column < 0 || row >= kMaxRows || column >= kMaxColumns ||
      sheet_.entries_.size() >= kMaxCells) {
    tooLarge_ = true;
    return false;
  }
  if (!sheet_.entries_.empty()) {
    const Sheet::Entry& last = sheet_.entries_.back();
    if (row < last.row || (row == last.row && column <= last.column)) sorted_ = false;
  }
  return true;
}

void SheetBuilder::SetNumber(std::int64_t row, std::int64_t column, double value) {
  if (!Admit(row, column)) return;
  Sheet::Entry entry{};
  entry.row = static_cast<std::uint32_t>(row);
  entry.column = static_cast<std::uint16_t>(column);
  entry.kind = SheetCell::Kind::Number;
  entry.number = value;
  sheet_.entries_.push_back(entry);
}

void SheetBuilder::SetEmpty(std::int64_t row, std::int64_t column) {
  if (!Admit(row, column)) return;
  Sheet::Entry entry{};
  entry.row = static_cast<std::uint32_t>(row);
  entry.column = static_cast<std::uint16_t>(column);
  entry.kind = SheetCell::Kind::Empty;
  sheet_.entries_.push_back(entry);
}

bool SheetBuilder::CountText(std::size_t bytes) {
  if (textBytes_ + bytes > kMaxTextBytes) {
    tooLarge_ = true;
    return false;
  }
  textBytes_ += bytes;
  return true;
}

SheetBuilder::TextRef SheetBuilder::KeepText(std::string_view utf8) {
  if (!CountText(utf8.size())) return {};
  const TextRef ref{static_cast<std::uint32_t>(sheet_.text_.size()),
                    static_cast<std::uint32_t>(utf8.size())};
  sheet_.text_.append(utf8);
  return ref;
}

void SheetBuilder::SetKeptText(std::int64_t row, std::int64_t column, TextRef text) {
  if (text.length == 0) return SetEmpty(row, column);
  if (!Admit(row, column)) return;
  Sheet::Entry entry{};
  entry.row = static_cast<std::uint32_t>(row);
  entry.column = static_cast<std::uint16_t>(column);
  entry.kind = SheetCell::Kind::Text;
  entry.text = {text.offset, text.length};
  sheet_.entries_.push_back(entry);
}

void SheetBuilder::SetText(std::int64_t row, std::int64_t column, std::string_view utf8) {
  if (utf8.empty()) return SetEmpty(row, column);
  if (row < 0 || column < 0 || row >= kMaxRows || column >= kMaxColumns) {
    tooLarge_ = true;
    return;
  }
  SetKeptText(row, column, KeepText(utf8));
}

std::string_view SheetBuilder::KeepSource(std::string bytes) {
  sheet_.source_ = std::move(bytes);
  return sheet_.source_;
}

void SheetBuilder::SetSourceText(std::int64_t row, std::int64_t column, std::string_view utf8) {
  if (utf8.empty()) return SetEmpty(row, column);
  if (row < 0 || column < 0 || row >= kMaxRows || column >= kMaxColumns) {
    tooLarge_ = true;
    return;
  }
  if (!CountText(utf8.size())) return SetEmpty(row, column);
  const auto offset = static_cast<std::uint32_t>(utf8.data() - sheet_.source_.data());
  SetKeptText(row, column, {offset | Sheet::kInSource, static_cast<std::uint32_t>(utf8.size())});
}

void SheetBuilder::ReserveCells(std::size_t cells) {
  sheet_.entries_.reserve(std::min(cells, kMaxCells));
}

Sheet SheetBuilder::Finish() && {
  auto& entries = sheet_.entries_;
  if (!sorted_) {
    // Stable, so that of two values of one cell the later one stays last.
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
      return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const bool overwritten = i + 1 < entries.size() && entries[i + 1].row == entries[i].row &&
                               entries[i + 1].column == entries[i].column;
      if (!overwritten) entries[kept++] = entries[i];
    }
    entries.resize(kept);
  }
  // One pass drops the empty cells and finds where each row starts and how wide
  // the sheet is: the cells of a large sheet are read from memory once.
  auto& rowStarts = sheet_.rowStarts_;
  rowStarts.clear();
  int columns = 0;
  std::size_t kept = 0;
  for (const Sheet::Entry& entry : entries) {
    if (entry.kind == SheetCell::Kind::Empty) continue;
    while (rowStarts.size() <= entry.row) rowStarts.push_back(static_cast<std::uint32_t>(kept));
    columns = std::max(columns, int{entry.column} + 1);
    entries[kept++] = entry;
  }
  entries.resize(kept);
  sheet_.rowCount_ = static_cast<int>(rowStarts.size());
  sheet_.columnCount_ = columns;
  rowStarts.push_back(static_cast<std::uint32_t>(kept));
  return std::move(sheet_);
}

int SpreadsheetDayNumber(int year, int month, int day) {
  const auto daysFromCivil = [](int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
  };
  return daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30);
}

}  // namespace velmora
