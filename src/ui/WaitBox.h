#pragma once

#include <QWidget>

namespace velmora {

// "Please wait", shown without window buttons while a long command runs.
class WaitBox : public QWidget {
  Q_OBJECT

 public:
  explicit WaitBox(QWidget* parent = nullptr);
  // Shows the box centred over the parent and paints it before the work starts.
  void ShowNow();
};

}  // namespace velmora
