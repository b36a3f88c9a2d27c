#pragma once

#include <QWidget>

class QPushButton;

namespace velmora {

// "Please wait", shown without window buttons while a long command runs.
class WaitBox : public QWidget {
  Q_OBJECT

 public:
  explicit WaitBox(QWidget* parent = nullptr);
  // Shows the box centred over the parent and paints it before the work starts;
  // with stoppable, with "Διακοπή", which signals stopRequested.
  void ShowNow(bool stoppable = false);

 signals:
  void stopRequested();

 private:
  QPushButton* stopButton_;
};

}  // namespace velmora
