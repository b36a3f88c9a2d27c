#include "XlsSheetReader.h"

#include <freexl.h>

#include <cstdio>

namespace velmora {

namespace {

// Closes the workbook however reading ends.
class XlsHandle {
 public:
  XlsHandle() = default;
  XlsHandle(const XlsHandle&) = delete;
  XlsHandle& operator=(const XlsHandle&) = delete;
  ~XlsHandle() {
    if (handle_) freexl_close(handle_);
  }
  const void** Out() { return &handle_; }
  const void* Get() const { return handle_; }

 private:
  const void* handle_ = nullptr;
};

// FreeXL gives dates and times as text; the sheet holds them as serial numbers
// (days since 30 December 1899, the time as the fraction of a day).
bool SerialOf(int type, const char* text, double& serial) {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  bool read = false;
  if (type == FREEXL_CELL_DATE) {
    read = std::sscanf(text, "%d-%d-%d", &year, &month, &day) == 3;
  } else if (type == FREEXL_CELL_DATETIME) {
    read =
        std::sscanf(text, "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second) == 6;
  } else {
    read = std::sscanf(text, "%d:%d:%d", &hour, &minute, &second) == 3;
  }
  if (!read || year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
    return false;
  }
  serial =
      SpreadsheetDayNumber(year, month, day) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  return true;
}

SheetReadFailure::Reason ReasonOf(int error) {
  switch (error) {
    case FREEXL_INSUFFICIENT_MEMORY:
      return SheetReadFailure::Reason::TooLarge;
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
      return SheetReadFailure::Reason::NotASpreadsheet;
    default:
      return SheetReadFailure::Reason::Damaged;
  }
}

}  // namespace

SheetReadResult ReadXlsSheet(const std::string& path) {
  using Reason = SheetReadFailure::Reason;
  XlsHandle workbook;
  if (const int opened = freexl_open(path.c_str(), workbook.Out()); opened != FREEXL_OK) {
    return SheetReadFailure{ReasonOf(opened)};
  }
  unsigned int info = 0;
  if (freexl_get_info(workbook.Get(), FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
      info == FREEXL_BIFF_OBFUSCATED) {
    return SheetReadFailure{Reason::PasswordProtected};
  }
  if (freexl_get_info(workbook.Get(), FREEXL_BIFF_SHEET_COUNT, &info) != FREEXL_OK || info == 0) {
    return SheetReadFailure{Reason::Damaged};
  }
  if (const int selected = freexl_select_active_worksheet(workbook.Get(), 0);
      selected != FREEXL_OK) {
    return SheetReadFailure{ReasonOf(selected)};
  }
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (freexl_worksheet_dimensions(workbook.Get(), &rows, &columns) != FREEXL_OK) {
    return SheetReadFailure{Reason::Damaged};
  }

  SheetBuilder builder;
  FreeXL_CellValue value;
  for (unsigned int row = 0; row < rows && !builder.TooLarge(); ++row) {
    for (unsigned short column = 0; column < columns; ++column) {
      if (freexl_get_cell_value(workbook.Get(), row, column, &value) != FREEXL_OK) {
        return SheetReadFailure{Reason::Damaged};
      }
      switch (value.type) {
        case FREEXL_CELL_INT:
          builder.SetNumber(row, column, value.value.int_value);
          break;
        case FREEXL_CELL_DOUBLE:
          builder.SetNumber(row, column, value.value.double_value);
          break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
          if (value.value.text_value) builder.SetText(row, column, value.value.text_value);
          break;
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME: {
          double serial = 0;
          if (!value.value.text_value || !SerialOf(value.type, value.value.text_value, serial)) {
            return SheetReadFailure{Reason::Damaged};
          }
          builder.SetNumber(row, column, serial);
          break;
        }
        default:
          break;
      }
    }
  }
  if (builder.TooLarge()) return SheetReadFailure{Reason::TooLarge};
  Sheet sheet = std::move(builder).Finish();
  if (sheet.RowCount() == 0) return SheetReadFailure{Reason::Empty};
  return sheet;
}

}  // namespace velmora
