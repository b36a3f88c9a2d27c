#include "WaitBox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "AppTexts.h"

namespace velmora {

WaitBox::WaitBox(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("waitBox"));
  const QString text = PleaseWait();
  setWindowTitle(text);
  auto* label = new QLabel(text, this);
  QFont large = label->font();
  large.setPointSizeF(large.pointSizeF() * 2);
  large.setBold(true);
  label->setFont(large);
  label->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(30, 20, 30, 20);
  layout->addWidget(label);
  stopButton_ = new QPushButton(QStringLiteral("Διακοπή"), this);
  stopButton_->setObjectName(QStringLiteral("stopButton"));
  connect(stopButton_, &QPushButton::clicked, this, &WaitBox::stopRequested);
  layout->addWidget(stopButton_, 0, Qt::AlignCenter);
  stopButton_->hide();
}

void WaitBox::ShowNow(bool stoppable) {
  stopButton_->setVisible(stoppable);
  // While it can be stopped the window answers: the box keeps the clicks to itself.
  setWindowModality(stoppable ? Qt::ApplicationModal : Qt::NonModal);
  setFixedSize(sizeHint());
  const QRect area = parentWidget() ? parentWidget()->window()->frameGeometry()
                                    : QApplication::primaryScreen()->availableGeometry();
  move(area.center() - rect().center());
  show();
  raise();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace velmora
