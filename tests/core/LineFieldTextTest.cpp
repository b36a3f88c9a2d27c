#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordLayout.h"
#include "RecordTable.h"
#include "TestSupport.h"

namespace velmora {
namespace {

// Every reader of a working line's field (the line table, the checks of many
// lines, the submission writer) goes by LineFieldText; the table, which knows
// its fields only from the schema, must read each field exactly as it does.
TEST(LineFieldText, TheLineTableReadsEveryFieldAlike) {
  const std::string full = test::Pad("2", kRecordLength);
  std::string blanksInside = full;
  blanksInside.replace(LineSpan(LineField::Name).offset, 8, "  A  B  ");
  const std::vector<std::string> lines = {
      full,
      blanksInside,
      "212345094014298NAME   ",                               // ends inside the name
      "2",                                                    // the record type alone
      "",                                                     // nothing at all
      std::string(kRecordLength, 'x') + "beyond the record",  // longer than a record
      std::string(LineSpan(LineField::Value).end(), '7'),     // ends with the value
  };
  test::TempFolder folder;
  test::WriteBytes(folder.Path("record2"), "");
  RecordTable table;
  table.SetSchema(LineSchema(Side::Customers));
  table.SetFileName(folder.Path("record2"));
  table.OpenWithLines(lines);
  for (int i = 0; i < table.RecordCount(); ++i) {
    for (const LineFieldLayout& field : kLineLayout) {
      SCOPED_TRACE("line " + std::to_string(i) + ", " + field.customerName);
      EXPECT_EQ(table.FieldTextAt(i, table.FieldIndex(field.customerName)),
                LineFieldText(lines[static_cast<std::size_t>(i)], field.field));
    }
  }
  EXPECT_EQ(LineFieldText(blanksInside, LineField::Name), "  A  B");
  EXPECT_EQ(LineFieldText("2", LineField::TaxNumber), "");
}

}  // namespace
}  // namespace velmora
