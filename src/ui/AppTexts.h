#pragma once

#include <QString>

#include "Side.h"

namespace velmora {

// Texts that more than one window shows.
inline QString ApplicationTitle() {
  return QStringLiteral("Συγκεντρωτικές καταστάσεις πελατών-προμηθευτών 2009");
}
inline QString WindowCaption() { return QStringLiteral("Velmora 2009"); }
// The wait box's and the progress box's text.
inline QString PleaseWait() { return QStringLiteral("Παρακαλώ περιμένετε"); }
// The title of a side's page, on its tab and in the list of problems.
inline QString PageTitle(Side side) {
  return side == Side::Customers ? QStringLiteral("ΠΕΛΑΤΕΣ") : QStringLiteral("ΠΡΟΜΗΘΕΥΤΕΣ");
}

}  // namespace velmora
