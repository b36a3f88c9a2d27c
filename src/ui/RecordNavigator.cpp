#include "RecordNavigator.h"

#include <QGridLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace velmora {

namespace {

struct NavigatorButton {
  RecordGrid::Action action;
  const char* caption;
  QStyle::StandardPixmap icon;
  const char* objectName;
};

const NavigatorButton kButtons[] = {
    {RecordGrid::Action::First, "Πρώτη Εγγραφή", QStyle::SP_MediaSkipBackward, "firstLineButton"},
    {RecordGrid::Action::Last, "Τελευταία Εγγραφή", QStyle::SP_MediaSkipForward, "lastLineButton"},
    {RecordGrid::Action::Insert, "Εισαγωγή Εγγραφής", QStyle::SP_FileDialogNewFolder,
     "insertLineButton"},
    {RecordGrid::Action::Delete, "Διαγραφή Εγγραφής", QStyle::SP_TrashIcon, "deleteLineButton"},
    {RecordGrid::Action::Post, "Αποθήκευση Αλλαγών", QStyle::SP_DialogApplyButton,
     "storeLineButton"},
    {RecordGrid::Action::Cancel, "Ακύρωση Αλλαγών", QStyle::SP_DialogCancelButton,
     "cancelLineButton"},
};

}  // namespace

RecordNavigator::RecordNavigator(RecordGrid* grid, QWidget* parent) : QWidget(parent), grid_(grid) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setHorizontalSpacing(2);
  layout->setVerticalSpacing(1);
  int column = 0;
  for (const NavigatorButton& entry : kButtons) {
    const QString caption = QString::fromUtf8(entry.caption);
    auto* label = new QLabel(caption.split(' ').join('\n'), this);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    label->setFont(small);
    auto* button = new QToolButton(this);
    button->setIcon(style()->standardIcon(entry.icon));
    button->setToolTip(caption);
    button->setAccessibleName(caption);
    button->setObjectName(QString::fromLatin1(entry.objectName));
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumWidth(60);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const RecordGrid::Action action = entry.action;
    connect(button, &QToolButton::clicked, this, [this, action] { Click(action); });
    layout->addWidget(label, 0, column);
    layout->addWidget(button, 1, column);
    ++column;
  }
}

void RecordNavigator::Click(RecordGrid::Action action) {
  if (guard_ && !guard_(action)) return;
  grid_->DoAction(action);
}

}  // namespace velmora
