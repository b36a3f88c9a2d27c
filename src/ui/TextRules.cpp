#include "TextRules.h"

namespace velmora {

bool IsDigitsOnly(const QString& text) {
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

bool IsDecimalText(const QString& text) {
  int commas = 0;
  for (QChar c : text) {
    if (c == QLatin1Char(',')) {
      ++commas;
    } else if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
      return false;
    }
  }
  return commas <= 1;
}

}  // namespace velmora
