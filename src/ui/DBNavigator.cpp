#include "DBNavigator.h"

#include <QGridLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace velmora {

namespace {

struct NavigatorButton {
  DBGrid::Action action;
  const char* caption;
  QStyle::StandardPixmap icon;
};

const NavigatorButton kButtons[] = {
    {DBGrid::Action::First, "Πρώτη Εγγραφή", QStyle::SP_MediaSkipBackward},
    {DBGrid::Action::Last, "Τελευταία Εγγραφή", QStyle::SP_MediaSkipForward},
    {DBGrid::Action::Insert, "Εισαγωγή Εγγραφής", QStyle::SP_FileDialogNewFolder},
    {DBGrid::Action::Delete, "Διαγραφή Εγγραφής", QStyle::SP_TrashIcon},
    {DBGrid::Action::Post, "Αποθήκευση Αλλαγών", QStyle::SP_DialogApplyButton},
    {DBGrid::Action::Cancel, "Ακύρωση Αλλαγών", QStyle::SP_DialogCancelButton},
};

}  // namespace

DBNavigator::DBNavigator(DBGrid* grid, QWidget* parent) : QWidget(parent), grid_(grid) {
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
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumWidth(60);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const DBGrid::Action action = entry.action;
    connect(button, &QToolButton::clicked, this, [this, action] { Click(action); });
    layout->addWidget(label, 0, column);
    layout->addWidget(button, 1, column);
    ++column;
  }
}

void DBNavigator::Click(DBGrid::Action action) {
  if (BeforeAction && !BeforeAction(action)) return;
  grid_->DoAction(action);
}

}  // namespace velmora
