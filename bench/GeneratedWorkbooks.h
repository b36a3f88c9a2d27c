#pragma once

#include <string>
#include <vector>

namespace velmora {

// One cell of a generated workbook: a number or a text.
struct WorkbookCell {
  bool isText = false;
  double number = 0;
  std::string text;  // UTF-8
};

// The bytes of an .xlsx file whose first worksheet holds rows, as a spreadsheet
// program writes one: the texts in xl/sharedStrings.xml, each part deflated.
std::string MakeXlsxWorkbook(const std::vector<std::vector<WorkbookCell>>& rows);

// The bytes of an Excel 97-2003 .xls file (BIFF8 in a compound file) whose first
// worksheet holds rows (at most 65,536): texts as LABEL records in UTF-16, numbers
// as NUMBER records, every cell in the default cell format.
std::string MakeXlsWorkbook(const std::vector<std::vector<WorkbookCell>>& rows);

}  // namespace velmora
