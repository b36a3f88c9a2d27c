#include "HeaderLine.h"

#include <array>
#include <cstddef>

#include "LineLayout.h"

namespace velmora {

namespace {

enum class Trim { None, Trailing, Both };

struct Column {
  std::string HeaderFields::*field;
  std::size_t offset;  // 0-based; column 1 holds the record type
  std::size_t width;
  Trim trim;
};

constexpr std::array<Column, 14> kColumns = {{
    {&HeaderFields::year, 1, 4, Trim::None},
    {&HeaderFields::officeCode, 5, 4, Trim::None},
    {&HeaderFields::fileNumber, 9, 6, Trim::Trailing},
    {&HeaderFields::companyName, 15, 18, Trim::Trailing},
    {&HeaderFields::afm, 33, 9, Trim::None},
    {&HeaderFields::profession, 42, 16, Trim::Trailing},
    {&HeaderFields::town, 58, 10, Trim::Trailing},
    {&HeaderFields::street, 68, 16, Trim::Trailing},
    {&HeaderFields::number, 84, 3, Trim::Trailing},
    {&HeaderFields::tk, 87, 5, Trim::Trailing},
    {&HeaderFields::tel, 92, 10, Trim::None},
    {&HeaderFields::fax, 102, 10, Trim::None},
    {&HeaderFields::email, 112, 34, Trim::Trailing},
    {&HeaderFields::installationType, 146, 4, Trim::Both},
}};

std::string_view Trimmed(std::string_view text, Trim trim) {
  if (trim == Trim::None) return text;
  const auto last = text.find_last_not_of(' ');
  if (last == std::string_view::npos) return {};
  text = text.substr(0, last + 1);
  if (trim == Trim::Both) text.remove_prefix(text.find_first_not_of(' '));
  return text;
}

}  // namespace

HeaderFields ParseHeaderLine(std::string_view line) {
  HeaderFields fields;
  for (const Column& column : kColumns) {
    if (column.offset >= line.size()) break;
    fields.*column.field = Trimmed(line.substr(column.offset, column.width), column.trim);
  }
  return fields;
}

std::string ComposeHeaderLine(const HeaderFields& fields) {
  std::string line(kLineLength, ' ');
  line[0] = '1';
  for (const Column& column : kColumns) {
    const std::string_view value = std::string_view(fields.*column.field).substr(0, column.width);
    const bool rightAligned = column.field == &HeaderFields::installationType;
    const std::size_t start =
        rightAligned ? column.offset + column.width - value.size() : column.offset;
    line.replace(start, value.size(), value);
  }
  return line;
}

}  // namespace velmora
