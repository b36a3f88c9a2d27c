#include <gtest/gtest.h>

#include <string>

#include "HeaderLine.h"

namespace velmora {
namespace {

HeaderFields SampleFields() {
  HeaderFields h;
  h.year = "2008";
  h.taxOfficeCode = "1101";
  h.fileNumber = "123";
  h.companyName = "\xC1\xCB\xD6\xC1 \xC1\xC5";  // ΑΛΦΑ ΑΕ
  h.taxNumber = "123456783";
  h.profession = "EMPORIO";
  h.town = "ATHINA";
  h.street = "ODOS 1";
  h.streetNumber = "12A";
  h.postCode = "10431";
  h.telephone = "2101234567";
  h.fax = "2107654321";
  h.email = "info@example.gr";
  h.installationType = "0";
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
  branch.installationType = "12";
  EXPECT_EQ(ComposeHeaderLine(branch).substr(146), "  12");
  branch.companyName = std::string(25, 'N');
  branch.installationType = "12345";
  const std::string cut = ComposeHeaderLine(branch);
  ASSERT_EQ(cut.size(), 150u);
  EXPECT_EQ(cut.substr(15, 19), std::string(18, 'N') + ' ');
  EXPECT_EQ(cut.substr(146), "1234");
}

TEST(HeaderLineTest, ParseGivesComposedFieldsBack) {
  const HeaderFields h = SampleFields();
  EXPECT_EQ(ParseHeaderLine(ComposeHeaderLine(h)), h);

  HeaderFields full = h;
  full.companyName = std::string(18, 'X');
  full.email = std::string(34, 'e');
  full.installationType = "E";
  EXPECT_EQ(ParseHeaderLine(ComposeHeaderLine(full)), full);
}

TEST(HeaderLineTest, KeepsOrTrimsBlanksByField) {
  std::string line = ComposeHeaderLine(SampleFields());
  line.replace(1, 4, "08  ");          // year kept as it stands
  line.replace(92, 10, " 210 123  ");  // phone kept as it stands
  line.replace(146, 4, " E  ");
  line.replace(9, 6, "  12  ");  // leading blanks of a text field stay
  const HeaderFields h = ParseHeaderLine(line);
  EXPECT_EQ(h.year, "08  ");
  EXPECT_EQ(h.telephone, " 210 123  ");
  EXPECT_EQ(h.installationType, "E");
  EXPECT_EQ(h.fileNumber, "  12");
  EXPECT_EQ(h.companyName, "\xC1\xCB\xD6\xC1 \xC1\xC5");
}

TEST(HeaderLineTest, ShortAndOddLines) {
  EXPECT_EQ(ParseHeaderLine(""), HeaderFields());
  EXPECT_EQ(ParseHeaderLine("1"), HeaderFields());

  const HeaderFields cut = ParseHeaderLine("1200811");
  EXPECT_EQ(cut.year, "2008");
  EXPECT_EQ(cut.taxOfficeCode, "11");
  EXPECT_EQ(cut.fileNumber, "");
  EXPECT_EQ(cut.installationType, "");

  const std::string full = ComposeHeaderLine(SampleFields());
  const HeaderFields shortOfLast = ParseHeaderLine(full.substr(0, 148));
  EXPECT_EQ(shortOfLast.email, "info@example.gr");
  EXPECT_EQ(shortOfLast.installationType, "");

  const HeaderFields blanks = ParseHeaderLine(std::string(150, ' '));
  EXPECT_EQ(blanks.companyName, "");
  EXPECT_EQ(blanks.installationType, "");
  EXPECT_EQ(blanks.taxNumber, std::string(9, ' '));

  std::string binary(150, '\0');
  binary[20] = '\xFF';
  EXPECT_EQ(ParseHeaderLine(binary).companyName.size(), 18u);
}

}  // namespace
}  // namespace velmora
