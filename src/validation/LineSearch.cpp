#include "LineSearch.h"

#include <algorithm>

#include "KeyFilters.h"
#include "PlainText.h"

namespace velmora {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::optional<std::size_t> FindLine(std::span<const std::string> lines, ColumnSpan field,
                                    const Cp1253Text& text, FindMatch match) {
  const std::string_view key = WithoutControls(text.view());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    // The table never reads past the record length.
    std::string_view value = field.In(line.substr(0, std::min(line.size(), kRecordLength)));
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    // The key neither begins nor ends with a blank, so a field that begins with it
    // still does once its trailing blanks are gone; only a whole match looks at them.
    if (value.size() < key.size()) continue;
    if (!key.empty() && value.front() != key.front()) continue;
    if (value.compare(0, key.size(), key) != 0) continue;
    if (match == FindMatch::Beginning ||
        std::all_of(value.begin() + static_cast<std::ptrdiff_t>(key.size()), value.end(),
                    IsBlank)) {
      return i;
    }
  }
  return std::nullopt;
}

bool FindTextKeyFilter(FindField field, char32_t c) {
  return field == FindField::Name || DigitsOnly(c);
}

std::string_view FindNotFoundMessage(FindField field) {
  return field == FindField::TaxNumber ? "Δεν βρέθηκε ο ΑΦΜ" : "Δεν βρέθηκε η Επωνυμία";
}

}  // namespace velmora
