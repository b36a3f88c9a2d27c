#include "XlsSheetReader.h"

#include <freexl.h>

#include <cstdio>

namespace velmora {

namespace {

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

std::optional<SheetReadFailure> ReadXlsCellsThenLeaveToExit(const std::string& path,
                                                            SheetCellSink& sink) {
  using Reason = SheetReadFailure::Reason;
  const void* workbook = nullptr;
  if (const int opened = freexl_open(path.c_str(), &workbook); opened != FREEXL_OK) {
    return SheetReadFailure{ReasonOf(opened)};
  }
  unsigned int info = 0;
  if (freexl_get_info(workbook, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
      info == FREEXL_BIFF_OBFUSCATED) {
    return SheetReadFailure{Reason::PasswordProtected};
  }
  if (freexl_get_info(workbook, FREEXL_BIFF_SHEET_COUNT, &info) != FREEXL_OK || info == 0) {
    return SheetReadFailure{Reason::Damaged};
  }
  if (const int selected = freexl_select_active_worksheet(workbook, 0); selected != FREEXL_OK) {
    return SheetReadFailure{ReasonOf(selected)};
  }
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (freexl_worksheet_dimensions(workbook, &rows, &columns) != FREEXL_OK ||
      rows > static_cast<unsigned int>(SheetBuilder::kMaxRows)) {
    return SheetReadFailure{Reason::Damaged};
  }

  sink.Expect(static_cast<int>(rows), columns);
  FreeXL_CellValue value;
  for (unsigned int row = 0; row < rows; ++row) {
    for (unsigned short column = 0; column < columns; ++column) {
      if (freexl_get_cell_value(workbook, row, column, &value) != FREEXL_OK) {
        return SheetReadFailure{Reason::Damaged};
      }
      const int r = static_cast<int>(row), c = column;
      switch (value.type) {
        case FREEXL_CELL_INT:
          sink.Number(r, c, value.value.int_value);
          break;
        case FREEXL_CELL_DOUBLE:
          sink.Number(r, c, value.value.double_value);
          break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
          if (value.value.text_value && *value.value.text_value)
            sink.Text(r, c, value.value.text_value);
          break;
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME: {
          double serial = 0;
          if (!value.value.text_value || !SerialOf(value.type, value.value.text_value, serial)) {
            return SheetReadFailure{Reason::Damaged};
          }
          sink.Number(r, c, serial);
          break;
        }
        default:
          break;
      }
    }
  }
  return std::nullopt;
}

}  // namespace velmora
