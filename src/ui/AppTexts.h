#pragma once

#include <QString>

namespace velmora {

// Texts that more than one window shows.
inline QString ApplicationTitle() {
  return QStringLiteral("Συγκεντρωτικές καταστάσεις πελατών-προμηθευτών 2009");
}
inline QString WindowCaption() { return QStringLiteral("Velmora 2009"); }

}  // namespace velmora
