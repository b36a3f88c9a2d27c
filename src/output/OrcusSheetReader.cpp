#include "OrcusSheetReader.h"

#include <cmath>
#include <exception>
#include <memory>
#include <optional>
#include <orcus/config.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "XlsxInlineTexts.h"

namespace velmora {

namespace {

namespace iface = orcus::spreadsheet::iface;
using orcus::spreadsheet::col_t;
using orcus::spreadsheet::row_t;

// Thrown from inside the library's reading to stop it as soon as the sheet
// passes its limits, before the library's own memory grows any further.
struct SheetPastLimits {};

// The workbook's strings, kept in the sheet's own text store so that a cell only
// points at them.
class SharedStrings : public iface::import_shared_strings {
 public:
  explicit SharedStrings(SheetBuilder& builder) : builder_(builder) {}

  bool PastLimits() const { return pastLimits_ || builder_.TooLarge(); }

  std::optional<SheetBuilder::TextRef> Find(std::size_t index) const {
    if (index >= strings_.size()) return std::nullopt;
    return strings_[index];
  }

  std::size_t append(std::string_view s) override {
    // Every string is there for a cell to use: no sheet that can be imported needs more.
    if (strings_.size() >= SheetBuilder::kMaxCells) {
      pastLimits_ = true;
      throw SheetPastLimits{};
    }
    strings_.push_back(builder_.KeepText(s));
    if (builder_.TooLarge()) throw SheetPastLimits{};
    return strings_.size() - 1;
  }
  std::size_t add(std::string_view s) override { return append(s); }
  void set_segment_font(std::size_t) override {}
  void set_segment_bold(bool) override {}
  void set_segment_italic(bool) override {}
  void set_segment_font_name(std::string_view) override {}
  void set_segment_font_size(double) override {}
  void set_segment_font_color(orcus::spreadsheet::color_elem_t, orcus::spreadsheet::color_elem_t,
                              orcus::spreadsheet::color_elem_t,
                              orcus::spreadsheet::color_elem_t) override {}
  void append_segment(std::string_view s) override { segments_.append(s); }
  std::size_t commit_segments() override {
    const std::size_t index = append(segments_);
    segments_.clear();
    return index;
  }

 private:
  SheetBuilder& builder_;
  std::vector<SheetBuilder::TextRef> strings_;
  std::string segments_;
  bool pastLimits_ = false;
};

// Cell addresses in the A1 style of .xlsx files ("B7", "$B$7", "A1:J20"), the
// only kind the reader asks about.
class A1References : public iface::import_reference_resolver {
 public:
  orcus::spreadsheet::src_address_t resolve_address(std::string_view address) override {
    if (const auto bang = address.rfind('!'); bang != std::string_view::npos) {
      address.remove_prefix(bang + 1);
    }
    std::size_t at = 0;
    const auto skipDollar = [&] {
      if (at < address.size() && address[at] == '$') ++at;
    };
    skipDollar();
    long column = 0;
    std::size_t letters = 0;
    for (; at < address.size() && letters < 4; ++at, ++letters) {
      const char c = address[at];
      if (c >= 'a' && c <= 'z') {
        column = column * 26 + (c - 'a' + 1);
      } else if (c >= 'A' && c <= 'Z') {
        column = column * 26 + (c - 'A' + 1);
      } else {
        break;
      }
    }
    skipDollar();
    long row = 0;
    std::size_t digits = 0;
    for (; at < address.size() && digits < 8; ++at, ++digits) {
      const char c = address[at];
      if (c < '0' || c > '9') break;
      row = row * 10 + (c - '0');
    }
    if (letters == 0 || letters > 3 || digits == 0 || digits > 7 || row == 0 ||
        at != address.size()) {
      throw std::invalid_argument("not a cell address");
    }
    return {0, static_cast<row_t>(row - 1), static_cast<col_t>(column - 1)};
  }

  orcus::spreadsheet::src_range_t resolve_range(std::string_view range) override {
    const auto colon = range.find(':');
    if (colon == std::string_view::npos) {
      const auto cell = resolve_address(range);
      return {cell, cell};
    }
    return {resolve_address(range.substr(0, colon)), resolve_address(range.substr(colon + 1))};
  }
};

// Where the cells of a worksheet go: into the builder for the first worksheet,
// nowhere for the others.
class CollectedSheet;

class FormulaCell : public iface::import_formula {
 public:
  explicit FormulaCell(CollectedSheet& sheet) : sheet_(sheet) {}
  void set_position(row_t row, col_t col) override {
    row_ = row;
    column_ = col;
    result_ = Result::None;
  }
  void set_formula(orcus::spreadsheet::formula_grammar_t, std::string_view) override {}
  void set_shared_formula_index(std::size_t) override {}
  void set_result_string(std::string_view value) override {
    result_ = Result::Text;
    text_.assign(value);
  }
  void set_result_value(double value) override {
    // The reader passes NaN for a formula whose file holds no result.
    result_ = std::isnan(value) ? Result::None : Result::Number;
    number_ = value;
  }
  void set_result_bool(bool value) override {
    result_ = Result::Text;
    text_ = value ? "TRUE" : "FALSE";
  }
  void set_result_empty() override { result_ = Result::Empty; }
  void commit() override;

 private:
  enum class Result { None, Empty, Number, Text };
  CollectedSheet& sheet_;
  row_t row_ = 0;
  col_t column_ = 0;
  Result result_ = Result::None;
  double number_ = 0;
  std::string text_;
};

class CollectedSheet : public iface::import_sheet {
 public:
  CollectedSheet(SheetBuilder* builder, const SharedStrings& strings)
      : builder_(builder), strings_(strings), formula_(*this) {}

  iface::import_formula* get_formula() override { return &formula_; }

  void set_auto(row_t row, col_t col, std::string_view s) override {
    if (builder_) builder_->SetText(row, col, s);
    StopPastLimits();
  }
  void set_string(row_t row, col_t col, orcus::spreadsheet::string_id_t index) override {
    if (!builder_) return;
    if (const auto text = strings_.Find(index)) {
      builder_->SetKeptText(row, col, *text);
    } else {
      damaged_ = true;
    }
    StopPastLimits();
  }
  void set_value(row_t row, col_t col, double value) override {
    if (builder_) builder_->SetNumber(row, col, value);
    StopPastLimits();
  }
  void set_bool(row_t row, col_t col, bool value) override {
    if (builder_) builder_->SetText(row, col, value ? "TRUE" : "FALSE");
    StopPastLimits();
  }
  void set_date_time(row_t row, col_t col, int year, int month, int day, int hour, int minute,
                     double second) override {
    if (!builder_) return;
    const bool plausible = year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
                           day <= 31 && std::isfinite(second);
    if (!plausible) {
      damaged_ = true;
      return;
    }
    const double dayFraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    builder_->SetNumber(row, col, SpreadsheetDayNumber(year, month, day) + dayFraction);
  }
  void set_format(row_t, col_t, std::size_t) override {}
  void set_format(row_t, col_t, row_t, col_t, std::size_t) override {}
  void fill_down_cells(row_t, col_t, row_t) override {}
  orcus::spreadsheet::range_size_t get_sheet_size() const override { return {1048576, 16384}; }

  void FormulaResult(row_t row, col_t col, const double* number, const std::string* text) {
    if (!builder_) return;
    if (number) {
      builder_->SetNumber(row, col, *number);
    } else if (text) {
      builder_->SetText(row, col, *text);
    } else {
      builder_->SetEmpty(row, col);
    }
  }
  void FormulaWithoutResult(row_t row, col_t col) {
    if (!builder_) return;
    builder_->SetEmpty(row, col);
    if (!firstUnresolved_ || std::pair(row, col) < *firstUnresolved_) {
      firstUnresolved_ = std::pair(row, col);
    }
  }

  void StopPastLimits() const {
    if (builder_ && builder_->TooLarge()) throw SheetPastLimits{};
  }

  bool Damaged() const { return damaged_; }
  const std::optional<std::pair<row_t, col_t>>& FirstUnresolved() const { return firstUnresolved_; }

 private:
  SheetBuilder* builder_;
  const SharedStrings& strings_;
  FormulaCell formula_;
  bool damaged_ = false;
  std::optional<std::pair<row_t, col_t>> firstUnresolved_;
};

void FormulaCell::commit() {
  switch (result_) {
    case Result::None:
      sheet_.FormulaWithoutResult(row_, column_);
      break;
    case Result::Empty:
      sheet_.FormulaResult(row_, column_, nullptr, nullptr);
      break;
    case Result::Number:
      sheet_.FormulaResult(row_, column_, &number_, nullptr);
      break;
    case Result::Text:
      sheet_.FormulaResult(row_, column_, nullptr, &text_);
      break;
  }
  result_ = Result::None;
}

class CollectingFactory : public iface::import_factory {
 public:
  CollectingFactory() : strings_(builder_) {}

  iface::import_shared_strings* get_shared_strings() override { return &strings_; }
  iface::import_reference_resolver* get_reference_resolver(
      orcus::spreadsheet::formula_ref_context_t) override {
    return &references_;
  }

  iface::import_sheet* append_sheet(orcus::spreadsheet::sheet_t index,
                                    std::string_view name) override {
    // Only the first sheet in workbook order keeps its cells.
    SheetBuilder* target = sheets_.empty() ? &builder_ : nullptr;
    sheets_.push_back(std::make_unique<CollectedSheet>(target, strings_));
    names_.emplace_back(name);
    indexes_.push_back(index);
    return sheets_.back().get();
  }
  iface::import_sheet* get_sheet(std::string_view name) override {
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (names_[i] == name) return sheets_[i].get();
    }
    return nullptr;
  }
  iface::import_sheet* get_sheet(orcus::spreadsheet::sheet_t index) override {
    for (std::size_t i = 0; i < indexes_.size(); ++i) {
      if (indexes_[i] == index) return sheets_[i].get();
    }
    return nullptr;
  }
  void finalize() override {}

  std::size_t SheetCount() const { return sheets_.size(); }
  const CollectedSheet& FirstSheet() const { return *sheets_.front(); }
  SheetBuilder& Builder() { return builder_; }
  bool PastLimits() const { return strings_.PastLimits(); }

 private:
  SheetBuilder builder_;
  SharedStrings strings_;
  A1References references_;
  std::vector<std::unique_ptr<CollectedSheet>> sheets_;
  std::vector<std::string> names_;
  std::vector<orcus::spreadsheet::sheet_t> indexes_;
};

}  // namespace

SheetReadResult ReadOrcusSheet(std::string_view bytes, OrcusFormat format) {
  using Reason = SheetReadFailure::Reason;
  CollectingFactory factory;
  try {
    std::unique_ptr<orcus::iface::import_filter> filter;
    if (format == OrcusFormat::Xlsx) {
      filter = std::make_unique<orcus::orcus_xlsx>(&factory);
    } else {
      filter = std::make_unique<orcus::orcus_ods>(&factory);
    }
    orcus::config config(format == OrcusFormat::Xlsx ? orcus::format_t::xlsx
                                                     : orcus::format_t::ods);
    config.debug = false;
    filter->set_config(config);
    filter->read_stream(bytes);
    if (format == OrcusFormat::Xlsx) ReadXlsxInlineTexts(bytes, factory.Builder());
  } catch (const SheetPastLimits&) {
    return SheetReadFailure{Reason::TooLarge};
  } catch (const std::bad_alloc&) {
    return SheetReadFailure{Reason::TooLarge};
  } catch (...) {
    // Our own stop may come back wrapped in the library's error.
    if (factory.PastLimits()) return SheetReadFailure{Reason::TooLarge};
    // The library's errors (often without a message) all mean a file it cannot read.
    return SheetReadFailure{Reason::Damaged};
  }
  // A broken archive may read "successfully" and yield no worksheet at all.
  if (factory.SheetCount() == 0 || factory.FirstSheet().Damaged()) {
    return SheetReadFailure{Reason::Damaged};
  }
  if (factory.Builder().TooLarge()) return SheetReadFailure{Reason::TooLarge};
  if (const auto& unresolved = factory.FirstSheet().FirstUnresolved()) {
    SheetReadFailure failure{Reason::FormulaWithoutResult};
    failure.row = unresolved->first + 1;
    failure.column = unresolved->second + 1;
    return failure;
  }
  Sheet sheet = std::move(factory.Builder()).Finish();
  if (sheet.RowCount() == 0) return SheetReadFailure{Reason::Empty};
  return sheet;
}

}  // namespace velmora
