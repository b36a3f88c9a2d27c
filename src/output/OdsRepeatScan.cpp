#include "OdsRepeatScan.h"

#include <cstdint>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>
#include <vector>

namespace velmora {

namespace {

// Every value of attribute name (a quoted whole number) within limit.
bool ValuesWithin(std::string_view content, std::string_view name, long long limit) {
  for (std::size_t at = content.find(name); at != std::string_view::npos;
       at = content.find(name, at + 1)) {
    std::size_t digit = at + name.size();
    while (digit < content.size() && (content[digit] == ' ' || content[digit] == '=')) ++digit;
    if (digit < content.size() && (content[digit] == '"' || content[digit] == '\'')) ++digit;
    long long value = 0;
    for (; digit < content.size() && content[digit] >= '0' && content[digit] <= '9'; ++digit) {
      value = value * 10 + (content[digit] - '0');
      if (value > limit) return false;
    }
  }
  return true;
}

}  // namespace

bool OdsRepeatsWithinLimits(std::string_view workbook) {
  orcus::zip_archive_stream_blob stream(reinterpret_cast<const std::uint8_t*>(workbook.data()),
                                        workbook.size());
  orcus::zip_archive archive(&stream);
  archive.load();
  std::vector<unsigned char> bytes;
  if (!archive.read_file_entry("content.xml", bytes)) return true;
  const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return ValuesWithin(content, ":number-rows-repeated", kMaxOdsRows) &&
         ValuesWithin(content, ":number-columns-repeated", kMaxOdsColumns);
}

}  // namespace velmora
