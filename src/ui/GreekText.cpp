#include "GreekText.h"

namespace velmora {

QString FromCp1253(const Cp1253Text& text) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(text.size()));
  for (unsigned char b : text.view())
    shown.append(QChar(static_cast<char16_t>(Cp1253ToUnicode(b))));
  return shown;
}

std::optional<Cp1253Text> ToCp1253(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (QChar c : text) {
    if (c.isSurrogate()) return std::nullopt;
    auto b = UnicodeToCp1253(c.unicode());
    if (!b) return std::nullopt;
    bytes.push_back(static_cast<char>(*b));
  }
  return Cp1253Text(std::move(bytes));
}

bool HasCp1253Code(QChar c) { return !c.isSurrogate() && UnicodeToCp1253(c.unicode()).has_value(); }

}  // namespace velmora
