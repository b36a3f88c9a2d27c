#include "AmountBox.h"

namespace velmora {

std::string NormaliseAmountBox(std::string_view text) {
  if (text.size() < 2) return "0";
  const auto value = Amount::Parse(text);
  return value ? value->FormatShort() : std::string(text);
}

std::optional<Amount> AmountBoxValue(std::string_view text) { return Amount::Parse(text); }

}  // namespace velmora
