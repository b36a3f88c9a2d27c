#include "AmountBox.h"

namespace velmora {

std::string NormaliseAmountBox(std::string_view text) {
  // An empty box, or a lone comma, means no amount; a lone digit is a digit.
  if (text.empty() || text == ",") return "0";
  const auto value = Amount::Parse(text);
  return value ? value->FormatShort() : std::string(text);
}

bool FitsAmountRecord(std::string_view text) {
  return text.substr(0, text.find(',')).size() <= kAmountBoxWholeDigits;
}

}  // namespace velmora
