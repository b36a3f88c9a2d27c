#pragma once

#include <string>
#include <vector>

namespace velmora {

// One cell of a generated workbook: a number, or a text kept in the shared strings.
struct XlsxCell {
  bool isText = false;
  double number = 0;
  std::string text;  // UTF-8
};

// The bytes of an .xlsx file whose first worksheet holds rows, as a spreadsheet
// program writes one: the texts in xl/sharedStrings.xml, each part deflated.
std::string MakeXlsxWorkbook(const std::vector<std::vector<XlsxCell>>& rows);

}  // namespace velmora
