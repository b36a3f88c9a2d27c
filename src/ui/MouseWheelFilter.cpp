#include "MouseWheelFilter.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

namespace velmora {

bool MouseWheelFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
  auto* target = static_cast<QWidget*>(watched);
  // A grid's rows live in its viewport: the key belongs to the grid itself.
  if (auto* area = qobject_cast<QAbstractScrollArea*>(target->parentWidget());
      area && area->viewport() == target)
    target = area;
  const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
  const int key = delta > 0 ? Qt::Key_Up : Qt::Key_Down;
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
  return true;
}

}  // namespace velmora
