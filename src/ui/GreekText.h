#pragma once

#include <QChar>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "Cp1253.h"

namespace velmora {

// The one crossing between the screen's Unicode and the Windows-1253 text that
// the statement is kept in.
QString FromCp1253(const Cp1253Text& text);
// nullopt when the text holds a character that Windows-1253 has no code for.
std::optional<Cp1253Text> ToCp1253(const QString& text);
bool HasCp1253Code(QChar c);

// A message of the layers below, which are UTF-8.
inline QString FromMessage(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace velmora
