#include "BusyIndicator.h"

#include <QApplication>

#include "WaitBox.h"

namespace velmora {

BusyIndicator::BusyIndicator(WaitBox* box) : box_(box) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  box_->ShowNow();
}

BusyIndicator::~BusyIndicator() { Stop(); }

void BusyIndicator::Stop() {
  if (!running_) return;
  running_ = false;
  box_->hide();
  QApplication::restoreOverrideCursor();
}

}  // namespace velmora
