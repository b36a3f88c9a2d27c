#include "ProgressBox.h"

#include <QProgressDialog>
#include <algorithm>
#include <climits>

#include "AppTexts.h"

namespace velmora {

namespace {

// Shorter than this, a command needs no box.
constexpr qint64 kMomentMs = 400;

int Clamped(std::size_t count) { return static_cast<int>(std::min<std::size_t>(count, INT_MAX)); }

}  // namespace

ProgressBox::ProgressBox(QWidget* window) : QObject(window), window_(window) {}

ProgressBox::~ProgressBox() { Finish(); }

bool ProgressBox::Report(std::size_t done, std::size_t total) {
  if (done == 0 || !running_.isValid()) running_.start();
  if (done >= total) {
    const bool stopped = dialog_ && dialog_->wasCanceled();
    Finish();
    return !stopped;
  }
  if (!dialog_) {
    if (running_.elapsed() < kMomentMs) return true;
    dialog_ =
        new QProgressDialog(PleaseWait(), QStringLiteral("Διακοπή"), 0, Clamped(total), window_);
    dialog_->setObjectName(QStringLiteral("progressBox"));
    dialog_->setWindowTitle(ApplicationTitle());
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
  }
  // A modal box hands the events over here, the stop button's click among them.
  dialog_->setValue(Clamped(done));
  if (!dialog_->wasCanceled()) return true;
  Finish();
  return false;
}

void ProgressBox::Finish() {
  running_.invalidate();
  if (!dialog_) return;
  dialog_->hide();
  dialog_->deleteLater();
  dialog_ = nullptr;
}

}  // namespace velmora
