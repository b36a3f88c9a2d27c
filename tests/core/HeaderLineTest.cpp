#include <gtest/gtest.h>

#include <string>

#include "HeaderLine.h"

namespace velmora {
namespace {

HeaderFields SampleFields() {
  HeaderFields h;
  h.year = Cp1253Text("2008");
  h.taxOfficeCode = Cp1253Text("1101");
  h.fileNumber = Cp1253Text("123");
  h.companyName = Cp1253Text("\xC1\xCB\xD6\xC1 \xC1\xC5");  // ΑΛΦΑ ΑΕ
  h.taxNumber = Cp1253Text("123456783");
  h.profession = Cp1253Text("EMPORIO");
  h.town = Cp1253Text("ATHINA");
  h.street = Cp1253Text("ODOS 1");
  h.streetNumber = Cp1253Text("12A");
  h.postCode = Cp1253Text("10431");
  h.telephone = Cp1253Text("2101234567");
  h.fax = Cp1253Text("2107654321");
  h.email = Cp1253Text("info@example.gr");
  h.installationType = Cp1253Text("0");
  return h;
}

TEST(HeaderLineTest, ComposesTheColumns) {
  const std::string line = ComposeHeaderLine(SampleFields());
  ASSERT_EQ(line.size(), 150u);
  EXPECT_EQ(line.substr(0, 15), "120081101123   ");
  EXPECT_EQ(line.substr(15, 18), "\xC1\xCB\xD6\xC1 \xC1\xC5" + std::string(11, ' '));
  EXPECT_EQ(line.substr(33, 9), "123456783");
  EXPECT_EQ(line.substr(84, 8), "12A10431");
  EXPECT_EQ(line.substr(92, 20), "21012345672107654321");
  EXPECT_EQ(line.substr(112, 15), "info@example.gr");
  EXPECT_EQ(line.substr(146), "   0");

  HeaderFields branch;
  branch.installationType = Cp1253Text("12");
  EXPECT_EQ(ComposeHeaderLine(branch).substr(146), "  12");
  branch.companyName = Cp1253Text(std::string(25, 'N'));
  branch.installationType = Cp1253Text("12345");
  const std::string cut = ComposeHeaderLine(branch);
  ASSERT_EQ(cut.size(), 150u);
  EXPECT_EQ(cut.substr(15, 19), std::string(18, 'N') + ' ');
  EXPECT_EQ(cut.substr(146), "1234");
}

TEST(HeaderLineTest, ParseGivesComposedFieldsBack) {
  const HeaderFields h = SampleFields();
  EXPECT_EQ(ParseHeaderLine(ComposeHeaderLine(h)), h);

  HeaderFields full = h;
  full.companyName = Cp1253Text(std::string(18, 'X'));
  full.email = Cp1253Text(std::string(34, 'e'));
  full.installationType = Cp1253Text("E");
  EXPECT_EQ(ParseHeaderLine(ComposeHeaderLine(full)), full);
}

TEST(HeaderLineTest, KeepsOrTrimsBlanksByField) {
  std::string line = ComposeHeaderLine(SampleFields());
  line.replace(1, 4, "08  ");          // year kept as it stands
  line.replace(92, 10, " 210 123  ");  // phone kept as it stands
  line.replace(146, 4, " E  ");
  line.replace(9, 6, "  12  ");  // leading blanks of a text field stay
  const HeaderFields h = ParseHeaderLine(line);
  EXPECT_EQ(h.year.bytes(), "08  ");
  EXPECT_EQ(h.telephone.bytes(), " 210 123  ");
  EXPECT_EQ(h.installationType.bytes(), "E");
  EXPECT_EQ(h.fileNumber.bytes(), "  12");
  EXPECT_EQ(h.companyName.bytes(), "\xC1\xCB\xD6\xC1 \xC1\xC5");
}

TEST(HeaderLineTest, ShortAndOddLines) {
  EXPECT_EQ(ParseHeaderLine(""), HeaderFields());
  EXPECT_EQ(ParseHeaderLine("1"), HeaderFields());

  const HeaderFields cut = ParseHeaderLine("1200811");
  EXPECT_EQ(cut.year.bytes(), "2008");
  EXPECT_EQ(cut.taxOfficeCode.bytes(), "11");
  EXPECT_EQ(cut.fileNumber.bytes(), "");
  EXPECT_EQ(cut.installationType.bytes(), "");

  const std::string full = ComposeHeaderLine(SampleFields());
  const HeaderFields shortOfLast = ParseHeaderLine(full.substr(0, 148));
  EXPECT_EQ(shortOfLast.email.bytes(), "info@example.gr");
  EXPECT_EQ(shortOfLast.installationType.bytes(), "");

  const HeaderFields blanks = ParseHeaderLine(std::string(150, ' '));
  EXPECT_EQ(blanks.companyName.bytes(), "");
  EXPECT_EQ(blanks.installationType.bytes(), "");
  EXPECT_EQ(blanks.taxNumber.bytes(), std::string(9, ' '));

  std::string binary(150, '\0');
  binary[20] = '\xFF';
  EXPECT_EQ(ParseHeaderLine(binary).companyName.size(), 18u);
}

}  // namespace
}  // namespace velmora
