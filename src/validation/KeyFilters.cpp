#include "KeyFilters.h"

namespace velmora {

namespace {

constexpr char32_t kBackspace = 8;
constexpr char32_t kTab = 9;
constexpr char32_t kGreekCapitalEpsilon = U'\u0395';
constexpr char32_t kGreekSmallEpsilon = U'\u03B5';
constexpr std::string_view kGreekCapitalEpsilonUtf8 = "\u0395";

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace

bool DigitsOnly(char32_t c) { return IsDigit(c) || c == kBackspace || c == kTab; }

bool ZeroOneKeyFilter(char32_t c) { return c == U'0' || c == U'1' || c == kBackspace || c == kTab; }

bool DecimalKeyFilter(char32_t c, std::string_view currentText) {
  if (c == U',') return currentText.find(',') == std::string_view::npos;
  return IsDigit(c) || c == kBackspace;
}

KeyVerdict InstallationTypeFilter(char32_t c, std::string_view currentText) {
  if (IsDigit(c) || c == kBackspace) return {true, c};
  // Small e and ε too: nobody has to reach for Caps Lock.
  if (c == U'E' || c == U'e' || c == kGreekCapitalEpsilon || c == kGreekSmallEpsilon) {
    const bool holdsE = currentText.find('E') != std::string_view::npos ||
                        currentText.find(kGreekCapitalEpsilonUtf8) != std::string_view::npos;
    if (!holdsE) return {true, U'E'};
  }
  return {false, 0};
}

}  // namespace velmora
