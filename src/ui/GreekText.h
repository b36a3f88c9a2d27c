#pragma once

#include <QChar>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The one crossing between the screen's Unicode and the Windows-1253 bytes that
// the statement is kept in.
QString FromCp1253(std::string_view bytes);
// nullopt when the text holds a character that Windows-1253 has no code for.
std::optional<std::string> ToCp1253(const QString& text);
// Like ToCp1253 for text that the input widgets have already restricted.
std::string ToCp1253Lossless(const QString& text);
bool HasCp1253Code(QChar c);

}  // namespace velmora
