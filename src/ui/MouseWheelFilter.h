#pragma once

#include <QObject>

namespace velmora {

// Turns every turn of the mouse wheel into an arrow key for the widget under
// it: Up when the wheel turns away from the user, Down otherwise, so that each
// notch moves one row in a grid.
class MouseWheelFilter : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace velmora
