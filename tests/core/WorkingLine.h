#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Cp1253.h"
#include "RecordLayout.h"
#include "Side.h"

namespace velmora::test {

// A working line of that side with the given fields set (texts in UTF-8, as a
// person reads them) and the rest blank.
inline std::string WorkingLine(Side side,
                               const std::vector<std::pair<LineField, std::string>>& fields) {
  std::string line(kRecordLength, ' ');
  line[LineSpan(LineField::RecordType).offset] = LineRecordType(side);
  for (const auto& [field, utf8] : fields) {
    const std::string text = *Utf8ToCp1253(utf8);
    line.replace(LineSpan(field).offset, text.size(), text);
  }
  return line;
}

}  // namespace velmora::test
