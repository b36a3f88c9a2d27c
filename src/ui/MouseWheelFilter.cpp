#include "MouseWheelFilter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QWheelEvent>
#include <cstdlib>

#include "RecordGrid.h"

namespace velmora {

namespace {

constexpr int kNotch = 120;

template <class T>
T* SelfOrAncestor(QWidget* widget) {
  for (; widget; widget = widget->parentWidget())
    if (auto* found = qobject_cast<T*>(widget)) return found;
  return nullptr;
}

}  // namespace

int WheelNotches::Add(int delta) {
  if (delta == 0) return 0;
  if ((delta > 0) != (pending_ > 0) && pending_ != 0) pending_ = 0;
  pending_ += delta;
  const int whole = pending_ / kNotch;
  pending_ -= whole * kNotch;
  return whole;
}

bool MouseWheelFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (auto* grid = SelfOrAncestor<RecordGrid>(widget)) {
    if (grid != lastGrid_) notches_.Reset();
    lastGrid_ = grid;
    const QPoint turn = static_cast<QWheelEvent*>(event)->angleDelta();
    // A sideways swipe moves no line.
    if (std::abs(turn.x()) <= std::abs(turn.y())) {
      // Away from the user is up the list.
      if (const int whole = notches_.Add(turn.y())) grid->StepLines(-whole);
    }
    return true;
  }
  // The open list of a combo box is an item view of its own, and scrolls.
  if (auto* combo = SelfOrAncestor<QComboBox>(widget);
      combo && !combo->hasFocus() && !SelfOrAncestor<QAbstractItemView>(widget))
    return true;
  return false;
}

}  // namespace velmora
