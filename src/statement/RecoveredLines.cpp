#include "RecoveredLines.h"

#include "RecordLayout.h"

namespace velmora {

namespace {

// The invoice count and the value as the line table writes them: digits, the
// value with a sign and one decimal comma at most.
bool NumbersReadable(std::string_view line) {
  const std::string_view count = WithoutBlanks(LineFieldText(line, LineField::InvoiceCount));
  std::string_view value = WithoutBlanks(LineFieldText(line, LineField::Value));
  if (count.empty() || count.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  if (!value.empty() && value.front() == '-') value.remove_prefix(1);
  const auto comma = value.find(',');
  return !value.empty() && value.find_first_not_of("0123456789,") == std::string_view::npos &&
         (comma == std::string_view::npos || value.find(',', comma + 1) == std::string_view::npos);
}

}  // namespace

std::optional<std::string> CheckWorkingLines(std::string_view bytes, Side side) {
  const std::string prefix = "Οι γραμμές " + std::string(SideGenitive(side)) + " που βρέθηκαν ";
  if (bytes.size() > kMaxWorkingLinesBytes)
    return prefix + "είναι περισσότερες απ' όσες χωράει μια δήλωση.";
  std::size_t count = 0;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = at;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    const std::string_view line = bytes.substr(at, end - at);
    if (++count > static_cast<std::size_t>(kMaxLinesPerSide))
      return prefix + "είναι περισσότερες από 99999.";
    bool plain = line.size() == kRecordLength && line.front() == LineRecordType(side) &&
                 NumbersReadable(line);
    for (std::size_t i = 0; plain && i < line.size(); ++i) {
      const auto c = static_cast<unsigned char>(line[i]);
      plain = c >= 0x20 && c != 0x7F;
    }
    if (!plain) return prefix + "είναι κατεστραμμένες (γραμμή " + std::to_string(count) + ").";
    at = end;
    if (at < bytes.size() && bytes[at] == '\r') ++at;
    if (at < bytes.size() && bytes[at] == '\n') ++at;
  }
  return std::nullopt;
}

}  // namespace velmora
