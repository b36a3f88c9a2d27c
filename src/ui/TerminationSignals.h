#pragma once

#include <QObject>

class QSocketNotifier;

namespace velmora {

// SIGTERM (logout, shutdown) and SIGHUP (the terminal gone) turned into a Qt
// signal on the window's thread: the handler only writes a byte into a pipe of
// its own, which a socket notifier reads. Made once, early in main.
class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;

 signals:
  void terminationRequested();

 private:
  void Drain();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace velmora
