#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Cp1253.h"
#include "FirstObligationIndex.h"
#include "LineChecks.h"
#include "PlainText.h"
#include "RecordTable.h"

// The pieces of storing many lines at once: each line's checks on its own, run
// on two threads, and the index of the first obligation of each tax number.

namespace velmora {

// What the checks of a line on its own said: whether it passed, and its value as
// it is to be stored, as much of it as the field holds. Kept for every line of a
// large import, so small and without allocations.
class LoneCheck {
 public:
  LoneCheck() = default;
  LoneCheck(const LineVerdict& verdict, int valueWidth)
      : accepted(verdict.accepted),
        valueLength_(
            static_cast<std::uint8_t>(std::min({verdict.normalisedValue.size(), sizeof value_,
                                                static_cast<std::size_t>(valueWidth)}))) {
    std::copy_n(verdict.normalisedValue.data(), valueLength_, value_.data());
  }
  std::string_view NormalisedValue() const { return {value_.data(), valueLength_}; }

  bool accepted = false;

 private:
  std::uint8_t valueLength_ = 0;
  std::array<char, 23> value_{};
};

// A field of a record text read as the table reads it.
inline std::string_view ReadField(std::string_view record, const FieldDef& field, bool trimSpace) {
  const auto offset = static_cast<std::size_t>(field.offset);
  if (offset >= record.size()) return {};
  std::string_view text = record.substr(offset, static_cast<std::size_t>(field.width));
  return trimSpace ? WithoutTrailingBlanks(text) : text;
}

// A field of a record text written as the table writes it.
inline void WriteField(std::string& record, const FieldDef& field, std::string_view text) {
  const auto start = static_cast<std::size_t>(field.offset);
  const auto width = static_cast<std::size_t>(field.width);
  if (record.size() < start + width) record.resize(start + width, ' ');
  std::fill_n(record.begin() + static_cast<std::ptrdiff_t>(start), width, ' ');
  record.replace(start, std::min(text.size(), width), text.substr(0, width));
}

// The fields of a line record that its checks read, as the table reads them.
struct LineRecordFields {
  const FieldDef& taxNumber;
  const FieldDef& obligation;
  const FieldDef& invoiceCount;
  const FieldDef& value;
  bool trim;

  void Read(std::string_view record, LineCheckInput& input) const {
    input.taxNumber.assign(ReadField(record, taxNumber, trim));
    input.obligation.assign(ReadField(record, obligation, trim));
    input.invoiceCount.assign(ReadField(record, invoiceCount, trim));
    input.value.assign(ReadField(record, value, trim));
  }
};

// Each line cut to recordSize and stamped, then checked on its own (the checks
// that do not look at other lines); the lines are shared between two threads.
std::vector<LoneCheck> StampAndCheckAlone(std::vector<Cp1253Text>& lines,
                                          const LineRecordFields& fields, Side side,
                                          const std::string& filerTaxNumber, std::size_t recordSize,
                                          const std::function<void(std::string&)>& stamp);

}  // namespace velmora
