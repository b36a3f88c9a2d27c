#pragma once

#include <QFocusEvent>

namespace velmora {

// Whether the user moved the focus away (Tab, a click, a shortcut). Focus that
// Qt moves by itself, while pages switch or editors close, or that goes to a
// menu or a message box, is not the user leaving a field.
inline bool IsUserLeavingField(const QFocusEvent* event) {
  switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
      return true;
    default:
      return false;
  }
}

}  // namespace velmora
