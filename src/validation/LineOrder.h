#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "RecordLayout.h"

namespace velmora {

// The two orders a line list can be put in: by counter-party name, or by tax number.
// Either way the key runs from its field to the end of the line, so that lines with
// the same name go on by profession, obligation, town and so on.
enum class SortKey { ByName, ByTaxNumber };

// The column at which the key of the order starts; the columns before it travel
// with the line without being compared.
constexpr std::size_t SortKeyOffset(SortKey key) {
  return key == SortKey::ByName ? LineSpan(LineField::Name).offset
                                : LineSpan(LineField::TaxNumber).offset;
}

// The key of a line: its columns from keyOffset up to the record length, as far as
// the line reaches (empty for a line that ends before keyOffset).
std::string_view SortKeyOf(std::string_view line, std::size_t keyOffset);

// The new order of one side's lines (Windows-1253 bytes, at most kRecordLength
// counted, possibly shorter) as old indices: result[i] is the index of the line that
// goes to position i. Keys ascend by plain unsigned byte comparison, a key that is
// the beginning of another counting as the smaller. Lines with equal keys end in the
// order that the program's exchange sort has always given them (it is not stable:
// b, b', a becomes a, b', b), so a file sorted here is the file users know.
// Takes about n log n time.
std::vector<std::size_t> SortedLineOrder(std::span<const std::string> lines, std::size_t keyOffset);

}  // namespace velmora
