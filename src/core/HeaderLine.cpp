#include "HeaderLine.h"

#include <array>
#include <cstddef>

#include "PlainText.h"
#include "RecordLayout.h"

namespace velmora {

namespace {

// The member of HeaderFields that holds each header field, in the layout's order.
constexpr std::array<Cp1253Text HeaderFields::*, kHeaderFieldCount> kMembers = {
    &HeaderFields::year,        &HeaderFields::taxOfficeCode,    &HeaderFields::fileNumber,
    &HeaderFields::companyName, &HeaderFields::taxNumber,        &HeaderFields::profession,
    &HeaderFields::town,        &HeaderFields::street,           &HeaderFields::streetNumber,
    &HeaderFields::postCode,    &HeaderFields::telephone,        &HeaderFields::fax,
    &HeaderFields::email,       &HeaderFields::installationType,
};

std::string_view Trimmed(std::string_view text, Trim trim) {
  switch (trim) {
    case Trim::None:
      return text;
    case Trim::Trailing:
      return WithoutTrailingBlanks(text);
    case Trim::Both:
      break;
  }
  return WithoutBlanks(text);
}

}  // namespace

Cp1253Text& HeaderFields::operator[](HeaderField field) {
  return this->*kMembers[static_cast<std::size_t>(field)];
}

const Cp1253Text& HeaderFields::operator[](HeaderField field) const {
  return this->*kMembers[static_cast<std::size_t>(field)];
}

HeaderFields ParseHeaderLine(std::string_view line) {
  HeaderFields fields;
  for (const HeaderFieldLayout& layout : kHeaderLayout) {
    if (layout.span.offset >= line.size()) break;
    fields[layout.field] = Cp1253Text(Trimmed(layout.span.In(line), layout.trim));
  }
  return fields;
}

std::string ComposeHeaderLine(const HeaderFields& fields) {
  std::string line(kRecordLength, ' ');
  line[0] = record_type::kHeader;
  for (const HeaderFieldLayout& layout : kHeaderLayout) {
    const std::string_view value = fields[layout.field].view().substr(0, layout.span.width);
    const std::size_t start =
        layout.rightAligned ? layout.span.end() - value.size() : layout.span.offset;
    line.replace(start, value.size(), value);
  }
  return line;
}

}  // namespace velmora
