#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cp1253.h"
#include "LineSearch.h"
#include "RecordLayout.h"

namespace velmora {
namespace {

std::string Cp1253(std::string_view utf8) {
  const auto bytes = Utf8ToCp1253(utf8);
  EXPECT_TRUE(bytes.has_value()) << utf8;
  return bytes.value_or(std::string());
}

Cp1253Text Text(std::string_view utf8) { return Cp1253Text(Cp1253(utf8)); }

// A full line whose tax number and name columns hold the given texts as they are
// (UTF-8), without padding rules of their own, so blanks can be placed at will.
std::string Line(std::string_view taxNumber, std::string_view name) {
  std::string line(kRecordLength, ' ');
  line[0] = record_type::kCustomerLine;
  const auto put = [&line](LineField field, std::string_view utf8) {
    const std::string bytes = Cp1253(utf8);
    line.replace(LineSpan(field).offset, bytes.size(), bytes);
  };
  put(LineField::SequenceNumber, "1");
  put(LineField::TaxNumber, taxNumber);
  put(LineField::Name, name);
  put(LineField::Profession, "ΕΜΠΟΡΟΣ");
  return line;
}

constexpr ColumnSpan kTaxNumber = FindFieldSpan(FindField::TaxNumber);
constexpr ColumnSpan kName = FindFieldSpan(FindField::Name);
constexpr FindMatch kWhole = FindMatch::WholeField;
constexpr FindMatch kBeginning = FindMatch::Beginning;

TEST(LineSearchTest, WholeFieldOrBeginning) {
  const std::vector<std::string> lines = {Line("094019245", "ΒΗΤΑ"), Line("123456783", "ΑΛΦΑ"),
                                          Line("123456790", "ΑΛΦΑΒΗΤΟ")};
  EXPECT_EQ(FindLine(lines, kTaxNumber, Text("12345"), kWhole), std::nullopt);
  EXPECT_EQ(FindLine(lines, kTaxNumber, Text("12345"), kBeginning), 1u);
  EXPECT_EQ(FindLine(lines, kTaxNumber, Text("123456790"), kWhole), 2u);
  EXPECT_EQ(FindLine(lines, kTaxNumber, Text("1234567830"), kBeginning), std::nullopt);

  // The first match in stored order wins; a whole match skips longer names.
  EXPECT_EQ(FindLine(lines, kName, Text("ΑΛΦ"), kBeginning), 1u);
  EXPECT_EQ(FindLine(lines, kName, Text("ΑΛΦΑΒ"), kBeginning), 2u);
  EXPECT_EQ(FindLine(lines, kName, Text("ΑΛΦΑΒΗΤΟ"), kWhole), 2u);

  // Each search looks at its own columns only.
  EXPECT_EQ(FindLine(lines, kName, Text("1234"), kBeginning), std::nullopt);
  EXPECT_EQ(FindLine(lines, kTaxNumber, Text("ΒΗΤΑ"), kBeginning), std::nullopt);
  EXPECT_EQ(FindLine(lines, kName, Text("ΕΜΠΟΡΟΣ"), kBeginning), std::nullopt);

  EXPECT_EQ(FindLine({}, kName, Text("ΑΛΦΑ"), kBeginning), std::nullopt);
}

TEST(LineSearchTest, LetterCaseIsExact) {
  const std::vector<std::string> lines = {Line("094019245", "ΑΛΦΑ"), Line("123456783", "ALPHA"),
                                          Line("090000045", "άλφα")};
  EXPECT_EQ(FindLine(lines, kName, Text("αλφα"), kWhole), std::nullopt);
  EXPECT_EQ(FindLine(lines, kName, Text("αλφα"), kBeginning), std::nullopt);
  EXPECT_EQ(FindLine(lines, kName, Text("alpha"), kWhole), std::nullopt);
  EXPECT_EQ(FindLine(lines, kName, Text("Alp"), kBeginning), std::nullopt);
  EXPECT_EQ(FindLine(lines, kName, Text("ALP"), kBeginning), 1u);
  // Accents count too.
  EXPECT_EQ(FindLine(lines, kName, Text("ΆΛΦΑ"), kWhole), std::nullopt);
  EXPECT_EQ(FindLine(lines, kName, Text("άλφα"), kWhole), 2u);
}

TEST(LineSearchTest, BlanksAtEitherEndDoNotCount) {
  const std::vector<std::string> lines = {Line("094019245", "  ΒΗΤΑ"),
                                          Line("123456783", "ΑΛΦΑ ΒΗΤΑ"), Line("12345\t", "ΓΑΜΜΑ")};
  EXPECT_EQ(FindLine(lines, kName, Text("ΒΗΤΑ"), kWhole), 0u);
  EXPECT_EQ(FindLine(lines, kName, Text(" ΒΗΤΑ  "), kWhole), 0u);
  EXPECT_EQ(FindLine(lines, kName, Text("ΑΛΦΑ "), kWhole), std::nullopt);
  EXPECT_EQ(FindLine(lines, kName, Text("ΑΛΦΑ Β"), kBeginning), 1u);
  EXPECT_EQ(FindLine(lines, kTaxNumber, Text("12345"), kWhole), 2u);
}

TEST(LineSearchTest, EmptyText) {
  const std::string shortLine = Line("090000045", "ΑΛΦΑ").substr(0, 6);
  const std::vector<std::string> lines = {Line("094019245", "ΒΗΤΑ"), Line("123456783", ""),
                                          shortLine};
  // Not ticked: every field begins with nothing, so the first line is found.
  EXPECT_EQ(FindLine(lines, kName, Text(""), kBeginning), 0u);
  // Ticked: the first line whose field is empty, or absent from a short line.
  EXPECT_EQ(FindLine(lines, kName, Text(""), kWhole), 1u);
  EXPECT_EQ(FindLine(lines, kName, Text("   "), kWhole), 1u);
  EXPECT_EQ(FindLine(lines, kTaxNumber, Text(""), kWhole), 2u);
  EXPECT_EQ(FindLine({lines.data(), 1}, kName, Text(""), kWhole), std::nullopt);
  EXPECT_EQ(FindLine({}, kName, Text(""), kBeginning), std::nullopt);
}

TEST(LineSearchTest, FindTextBox) {
  EXPECT_EQ(FindTextLimit(FindField::TaxNumber), 9u);
  EXPECT_EQ(FindTextLimit(FindField::Name), 27u);
  for (char32_t c = U'0'; c <= U'9'; ++c) EXPECT_TRUE(FindTextKeyFilter(FindField::TaxNumber, c));
  for (const char32_t c : {char32_t{8}, char32_t{9}}) {
    EXPECT_TRUE(FindTextKeyFilter(FindField::TaxNumber, c));
  }
  for (const char32_t c : {U'a', U'Α', U' ', U'-', U',', U'٣'}) {
    EXPECT_FALSE(FindTextKeyFilter(FindField::TaxNumber, c)) << static_cast<int>(c);
    EXPECT_TRUE(FindTextKeyFilter(FindField::Name, c)) << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace velmora
