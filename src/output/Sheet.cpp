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
    cell.text = std::string_view(text_).substr(it->text.offset, it->text.length);
  }
  return cell;
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

SheetBuilder::TextRef SheetBuilder::KeepText(std::string_view utf8) {
  if (sheet_.text_.size() + utf8.size() > kMaxTextBytes) {
    tooLarge_ = true;
    return {};
  }
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
  std::erase_if(entries, [](const auto& e) { return e.kind == SheetCell::Kind::Empty; });

  int rows = 0;
  int columns = 0;
  for (const auto& e : entries) columns = std::max(columns, int{e.column} + 1);
  if (!entries.empty()) rows = static_cast<int>(entries.back().row) + 1;
  sheet_.rowCount_ = rows;
  sheet_.columnCount_ = columns;
  sheet_.rowStarts_.assign(static_cast<std::size_t>(rows) + 1, 0);
  std::size_t next = 0;
  for (int r = 0; r <= rows; ++r) {
    while (next < entries.size() && static_cast<int>(entries[next].row) < r) ++next;
    sheet_.rowStarts_[static_cast<std::size_t>(r)] = static_cast<std::uint32_t>(next);
  }
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
