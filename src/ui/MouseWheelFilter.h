#pragma once

#include <QObject>
#include <QPointer>

namespace velmora {

class RecordGrid;

// Adds up the wheel's turns and gives whole notches: a notch is 120 eighths of
// a degree, which a high-resolution wheel or a touchpad sends in smaller parts.
// Turning the other way starts afresh.
class WheelNotches {
 public:
  // The whole notches the turn completes: positive away from the user.
  int Add(int delta);
  void Reset() { pending_ = 0; }

 private:
  int pending_ = 0;
};

// The mouse wheel over a grid moves its current line one row per notch, never
// past the first or last line (it never starts a new one). A closed combo box
// under the pointer is left alone unless it has the focus, so that scrolling
// past it changes no choice; everything else scrolls as usual.
class MouseWheelFilter : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  WheelNotches notches_;
  QPointer<RecordGrid> lastGrid_;
};

}  // namespace velmora
