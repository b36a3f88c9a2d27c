#include "RecordNavigator.h"

#include <QGridLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

#include "RecordTableModel.h"

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
    buttons_.emplace_back(action, button);
    layout->addWidget(label, 0, column);
    layout->addWidget(button, 1, column);
    ++column;
  }
  RecordTableModel* model = grid_->Model();
  const auto update = [this] { UpdateButtons(); };
  connect(model, &QAbstractItemModel::modelReset, this, update);
  connect(model, &QAbstractItemModel::rowsInserted, this, update);
  connect(model, &QAbstractItemModel::rowsRemoved, this, update);
  connect(model, &QAbstractItemModel::dataChanged, this, update);
  connect(model, &QAbstractItemModel::headerDataChanged, this, update);
  connect(grid_, &RecordGrid::editingChanged, this, update);
  connect(grid_, &RecordGrid::typed, this, update);
  UpdateButtons();
}

void RecordNavigator::UpdateButtons() {
  RecordTableModel* model = grid_->Model();
  const bool open = model->Table().Active();
  const bool stored = open && model->Table().RecordCount() > 0;
  // An offered row nobody typed into holds no change; an open cell editor may.
  const bool pending =
      open && ((model->IsEditing() && !model->HasUntouchedNewRow()) || grid_->Editor());
  const bool onStoredLine = stored && model->PendingInsertRow() < 0;
  for (const auto& [action, button] : buttons_) {
    bool can = false;
    switch (action) {
      case RecordGrid::Action::First:
      case RecordGrid::Action::Last:
        can = stored;
        break;
      case RecordGrid::Action::Insert:
      case RecordGrid::Action::Append:
        can = open;
        break;
      case RecordGrid::Action::Delete:
        can = onStoredLine;
        break;
      case RecordGrid::Action::Post:
      case RecordGrid::Action::Cancel:
        can = pending;
        break;
    }
    button->setEnabled(can);
  }
}

void RecordNavigator::Click(RecordGrid::Action action) {
  if (guard_ && !guard_(action)) return;
  grid_->DoAction(action);
  UpdateButtons();
}

}  // namespace velmora
