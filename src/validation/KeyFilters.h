#pragma once

#include <string_view>

namespace velmora {

// Key filters of the input fields. A typed character is a Unicode code point;
// Backspace is 8 and Tab is 9. A refused character is dropped with a beep.

// Digits, Backspace and Tab.
bool DigitsOnly(char32_t c);

// "0", "1", Backspace and Tab: the obliged flag of a line.
bool ZeroOneKeyFilter(char32_t c);

// Digits, Backspace, and one comma while currentText holds none yet (Tab refused).
bool DecimalKeyFilter(char32_t c, std::string_view currentText);

struct KeyVerdict {
  bool accepted;
  char32_t stored;  // the character to insert when accepted
};

// Installation type: Backspace and digits as typed; a Latin or Greek E, capital
// or small, becomes Latin 'E' while currentText (UTF-8) holds no E of either kind yet.
KeyVerdict InstallationTypeFilter(char32_t c, std::string_view currentText);

}  // namespace velmora
