#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Cp1253.h"
#include "RecordLayout.h"

namespace velmora {

// The field the find dialog searches: "ΑΦΜ" or "Επωνυμία".
enum class FindField { TaxNumber, Name };

// Whether only the whole field counts ("Μόνο ολόκληρες λέξεις" ticked), or a field
// that begins with the text counts too.
enum class FindMatch { WholeField, Beginning };

constexpr ColumnSpan FindFieldSpan(FindField field) {
  return field == FindField::TaxNumber ? LineSpan(LineField::TaxNumber) : LineSpan(LineField::Name);
}

// The index of the first line, in stored order, whose field matches text, or nullopt.
// The field's columns (as far as the line reaches) and the text are both trimmed of
// blanks and control characters (codes up to 32) at both ends, as the record table
// compares them; then the field must equal the text (WholeField) or begin with it
// (Beginning), byte for byte and so exact as to letter case. An empty text matches an
// empty or absent field, and with Beginning every line. No lines: nullopt.
// One pass over the lines, without allocating.
std::optional<std::size_t> FindLine(std::span<const std::string> lines, ColumnSpan field,
                                    const Cp1253Text& text, FindMatch match);

// The find dialog's text box: the most characters it takes for each field, and
// whether a typed character (a code point; Backspace 8, Tab 9) is let through. A
// refused character is dropped with a beep; a character that would pass the limit is
// not taken. Text already in the box is never cut when the choice changes.
constexpr std::size_t FindTextLimit(FindField field) { return FindFieldSpan(field).width; }
bool FindTextKeyFilter(FindField field, char32_t c);

// "Δεν βρέθηκε ο ΑΦΜ" or "Δεν βρέθηκε η Επωνυμία" (UTF-8), the warning when no line
// matches; after it the list goes to its first line.
std::string_view FindNotFoundMessage(FindField field);

}  // namespace velmora
