// A working file of lines left behind by a crash, as recovery checks it (the first
// byte picks the side): whatever is accepted splits into at most 99,999 lines, each
// 150 characters of the side's record type.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "RecordLayout.h"
#include "RecoveredLines.h"
#include "TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const velmora::Side side =
      (data[0] & 1) != 0 ? velmora::Side::Suppliers : velmora::Side::Customers;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (velmora::CheckWorkingLines(bytes, side)) return 0;
  const auto lines = velmora::SplitTextLines(bytes);
  if (lines.size() > static_cast<std::size_t>(velmora::kMaxLinesPerSide)) std::abort();
  for (const auto& line : lines) {
    if (line.size() != velmora::kRecordLength || line[0] != velmora::LineRecordType(side))
      std::abort();
  }
  return 0;
}
