#pragma once

#include <QString>

namespace velmora {

// What whole texts the input fields may hold, however the text got there.
bool IsDigitsOnly(const QString& text);
// Digits with at most one decimal comma.
bool IsDecimalText(const QString& text);

}  // namespace velmora
