#include "TextRules.h"

#include "PlainText.h"

namespace velmora {

// A text with a character beyond ASCII is no run of digits, and its UTF-8 form
// has no digit bytes in it.
bool IsDigitsOnly(const QString& text) { return IsAllDigits(text.toStdString()); }

bool IsDecimalText(const QString& text) {
  return text.count(QLatin1Char(',')) <= 1 && IsDigitsOnly(QString(text).remove(QLatin1Char(',')));
}

}  // namespace velmora
