#include "SheetExport.h"

#include <xlsxwriter.h>

#include <cstdio>

#include "AtomicFile.h"
#include "Cp1253.h"
#include "PlainText.h"
#include "RecordLayout.h"
#include "VelmoraError.h"

namespace velmora {

namespace {

// A spreadsheet keeps 15 significant digits of a number; the import reads a
// number back with as many. Longer values go as text, which it reads as well.
constexpr std::size_t kExactDigits = 15;

// Digits with no needless leading zero: what a number cell gives back.
bool IsPlainWholeNumber(std::string_view text) {
  return !text.empty() && IsAllDigits(text) && (text.size() == 1 || text.front() != '0') &&
         text.size() <= kExactDigits;
}

// "1234,5" and the like, as the value field keeps amounts: digits, at most two
// decimals without a trailing zero.
bool IsPlainAmount(std::string_view text) {
  const auto comma = text.find(',');
  const std::string_view whole = text.substr(0, comma);
  if (!IsPlainWholeNumber(whole)) return false;
  if (comma == std::string_view::npos) return true;
  const std::string_view decimals = text.substr(comma + 1);
  return !decimals.empty() && decimals.size() <= 2 && IsAllDigits(decimals) &&
         decimals.back() != '0' && whole.size() + decimals.size() <= kExactDigits;
}

double NumberOf(const std::string& text) {
  std::string point = text;
  for (char& c : point) c = c == ',' ? '.' : c;
  return std::strtod(point.c_str(), nullptr);
}

// A field of the text, in quotes when it holds what would end it. The separators
// are ASCII, so the code page's bytes tell as well as the UTF-8 would.
void AppendCsvField(std::string& out, std::string_view cp1253) {
  if (cp1253.find_first_of(";\"\r\n") == std::string_view::npos) {
    AppendCp1253AsUtf8(out, cp1253);
    return;
  }
  out += '"';
  for (std::size_t quote; (quote = cp1253.find('"')) != std::string_view::npos;) {
    AppendCp1253AsUtf8(out, cp1253.substr(0, quote + 1));
    out += '"';
    cp1253.remove_prefix(quote + 1);
  }
  AppendCp1253AsUtf8(out, cp1253);
  out += '"';
}

// libxlsxwriter's error as the system's reason would read.
[[noreturn]] void ThrowWorkbookError(lxw_error error) {
  throw VelmoraError(std::string("libxlsxwriter: ") + lxw_strerror(error));
}

}  // namespace

std::array<ExportCell, 10> ExportCellsOf(std::string_view line) {
  std::array<ExportCell, 10> cells;
  for (std::size_t column = 0; column < cells.size(); ++column) {
    const LineField field = kTypedLineFields[column];
    const std::string_view text = LineFieldText(line, field);
    cells[column].text = Cp1253ToUtf8(text);
    cells[column].number = (field == LineField::InvoiceCount && IsPlainWholeNumber(text)) ||
                           (field == LineField::Value && IsPlainAmount(text));
  }
  return cells;
}

std::string ExportCsvText(const std::vector<std::string>& lines) {
  std::string text = "\xEF\xBB\xBF";
  text.reserve(lines.size() * 96);
  for (const std::string& line : lines) {
    for (std::size_t column = 0; column < kTypedLineFields.size(); ++column) {
      if (column > 0) text += ';';
      AppendCsvField(text, LineFieldText(line, kTypedLineFields[column]));
    }
    text += "\r\n";
  }
  return text;
}

void WriteExportWorkbook(const std::string& path, const std::vector<std::string>& lines) {
  WriteFileAtomicallyByName(path, true, [&lines](const std::string& temporaryPath) {
    lxw_workbook* workbook = workbook_new(temporaryPath.c_str());
    if (workbook == nullptr) ThrowWorkbookError(LXW_ERROR_CREATING_XLSX_FILE);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* amount = workbook_add_format(workbook);
    format_set_num_format(amount, "0.00");
    // Wide enough for what each column holds, in the import's order.
    const double widths[] = {11, 30, 18, 9, 12, 18, 8, 7, 10, 16};
    for (lxw_col_t column = 0; column < 10; ++column)
      worksheet_set_column(sheet, column, column, widths[column], nullptr);
    lxw_error error = LXW_NO_ERROR;
    for (std::size_t row = 0; row < lines.size() && error == LXW_NO_ERROR; ++row) {
      const auto cells = ExportCellsOf(lines[row]);
      for (lxw_col_t column = 0; column < cells.size() && error == LXW_NO_ERROR; ++column) {
        const ExportCell& cell = cells[column];
        const auto at = static_cast<lxw_row_t>(row);
        if (cell.number) {
          error = worksheet_write_number(sheet, at, column, NumberOf(cell.text),
                                         column == 9 ? amount : nullptr);
        } else if (!cell.text.empty()) {
          error = worksheet_write_string(sheet, at, column, cell.text.c_str(), nullptr);
        }
      }
    }
    const lxw_error closed = workbook_close(workbook);
    if (error != LXW_NO_ERROR) ThrowWorkbookError(error);
    if (closed != LXW_NO_ERROR) ThrowWorkbookError(closed);
  });
}

}  // namespace velmora
