#pragma once

#include <QString>

namespace velmora {

// What a screen reader says for a field whose caption is on screen: the
// caption without the "(*)" mark, its colon and line breaks.
QString AccessibleFieldName(const QString& caption);
// "υποχρεωτικό" for a caption marked "(*)", nothing otherwise.
QString AccessibleFieldDescription(const QString& caption);

// Plain widgets shown as windows of their own (the manual) are announced as
// windows; Qt would give them no role of their own.
void InstallWindowRoles();

}  // namespace velmora
