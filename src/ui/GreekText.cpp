#include "GreekText.h"

#include "Cp1253.h"
#include "VelmoraError.h"

namespace velmora {

QString FromCp1253(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (unsigned char b : bytes) text.append(QChar(static_cast<char16_t>(Cp1253ToUnicode(b))));
  return text;
}

std::optional<std::string> ToCp1253(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (QChar c : text) {
    if (c.isSurrogate()) return std::nullopt;
    auto b = UnicodeToCp1253(c.unicode());
    if (!b) return std::nullopt;
    bytes.push_back(static_cast<char>(*b));
  }
  return bytes;
}

std::string ToCp1253Lossless(const QString& text) {
  auto bytes = ToCp1253(text);
  if (!bytes)
    throw VelmoraError(
        "Το κείμενο περιέχει χαρακτήρες που δεν γράφονται στην ελληνική κωδικοσελίδα "
        "(Windows-1253).");
  return *bytes;
}

bool HasCp1253Code(QChar c) { return !c.isSurrogate() && UnicodeToCp1253(c.unicode()).has_value(); }

}  // namespace velmora
