#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <cstddef>

class QProgressDialog;
class QWidget;

namespace velmora {

// How far a long command has come, with a button to stop it. It appears only once
// the command has run for more than a moment, so that a short one does not flash
// a box; until then the command runs without handing events to the window.
class ProgressBox : public QObject {
  Q_OBJECT

 public:
  explicit ProgressBox(QWidget* window);
  ~ProgressBox() override;

  // done == 0 starts a run and done == total ends it. False once the user pressed
  // the stop button; the box is then gone.
  bool Report(std::size_t done, std::size_t total);

 private:
  void Finish();

  QWidget* window_;
  QProgressDialog* dialog_ = nullptr;
  QElapsedTimer running_;
};

}  // namespace velmora
