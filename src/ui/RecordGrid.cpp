#include "RecordGrid.h"

#include <QApplication>
#include <QHelpEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

#include "AccessibleNames.h"
#include "ColumnFit.h"
#include "InputGuard.h"

namespace velmora {

// Cell editors: as wide as the field allows, with the column's key rule.
class RecordGrid::CellDelegate : public QStyledItemDelegate {
 public:
  explicit CellDelegate(RecordGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setMaxLength(grid_->model_->FieldWidth(index.column()));
    editor->setAlignment(CellAlignment(index));
    const QString caption =
        grid_->model_->headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString();
    editor->setAccessibleName(AccessibleFieldName(caption));
    editor->setAccessibleDescription(AccessibleFieldDescription(caption));
    const int column = index.column();
    RecordGrid* grid = grid_;
    auto* guard = new InputGuard(
        editor, [grid, column](QChar typed, const QString& text) -> std::optional<QChar> {
          return grid->keyRule_ ? grid->keyRule_(column, typed, text) : typed;
        });
    if (grid->capitalsRule_ && grid->capitalsRule_(column)) guard->TakeCapitals();
    connect(guard, &InputGuard::typed, grid, &RecordGrid::typed);
    connect(guard, &InputGuard::refused, grid, &RecordGrid::keyRefused);
    grid_->editor_ = editor;
    emit grid_->editingChanged();
    return editor;
  }

  // Ctrl+Tab leaves the grid from an open editor too; the base delegate would
  // take it for a plain Tab.
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* editor = qobject_cast<QLineEdit*>(watched);
    if (editor && event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
          (key->modifiers() & Qt::ControlModifier)) {
        emit commitData(editor);
        grid_->CommitEditor();
        grid_->LeaveGrid(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
  }

  // The current line stands out in the system's border grey, the focused cell
  // in dark blue with white text (about 7:1); text keeps a small margin and is
  // cut with an ellipsis where the column is too narrow.
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    static const QColor kActiveBorder(180, 180, 180);
    static const QColor kFocusedCell(0, 84, 147);
    const QModelIndex current = grid_->currentIndex();
    const bool focused = index == current && grid_->hasFocus();
    const bool currentLine = current.isValid() && index.row() == current.row();
    painter->fillRect(option.rect, focused       ? kFocusedCell
                                   : currentLine ? kActiveBorder
                                                 : QColor(Qt::white));
    painter->setPen(focused ? QColor(Qt::white) : option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    const QRect area = option.rect.adjusted(kCellMargin, 1, -kCellMargin, 0);
    painter->drawText(
        area, (CellAlignment(index) & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextSingleLine,
        option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                      area.width()));
  }

  // A cut cell shows its whole text when the pointer rests on it; a whole one
  // shows nothing, as there is nothing more to read.
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override {
    if (event->type() != QEvent::ToolTip || !index.isValid())
      return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::ToolTipRole).toString();
    if (IsCut(text, option.fontMetrics, view->visualRect(index).width())) {
      QToolTip::showText(event->globalPos(), text, view->viewport(), view->visualRect(index));
    } else {
      QToolTip::hideText();
    }
    return true;
  }

  static Qt::Alignment CellAlignment(const QModelIndex& index) {
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    return alignment.isValid() ? Qt::Alignment(alignment.toInt()) : Qt::AlignLeft;
  }

 private:
  RecordGrid* grid_;
};

// Every change of the current row passes here first, so that the pending line
// is stored (or the move refused) before the view moves.
class RecordGrid::RowGate : public QItemSelectionModel {
 public:
  RowGate(RecordGrid* grid, QAbstractItemModel* model) : QItemSelectionModel(model), grid_(grid) {}

  void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override {
    QModelIndex target = index;
    if (index.isValid() && index.row() != currentIndex().row()) {
      const int row = grid_->GateRow(index.row());
      if (row < 0) return;
      target = model()->index(row, index.column());
    }
    QItemSelectionModel::setCurrentIndex(target, command);
  }

 private:
  RecordGrid* grid_;
};

RecordGrid::RecordGrid(RecordTableModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
  setModel(model);
  setSelectionModel(new RowGate(this, model));
  setItemDelegate(new CellDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::EditKeyPressed);
  setTabKeyNavigation(true);
  setWordWrap(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  verticalHeader()->setFixedWidth(18);
  horizontalHeader()->setHighlightSections(false);
  connect(qApp, &QApplication::focusChanged, this, &RecordGrid::FocusChanged);
  // The current line's colour spans the whole row.
  connect(selectionModel(), &QItemSelectionModel::currentChanged, viewport(),
          qOverload<>(&QWidget::update));
}

int RecordGrid::GateRow(int row) {
  if (syncing_ || model_->Reshaping()) return row;
  CommitEditor();
  return model_->MoveToRow(row);
}

void RecordGrid::CommitEditor() {
  if (!editor_) return;
  // Closed as well: the view would otherwise commit the same editor again once
  // the current row has moved, into the wrong line.
  QLineEdit* editor = editor_;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void RecordGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  if (editor == editor_) editor_ = nullptr;
  // Tab out of an editor moves as Tab over the cells does, without opening the
  // next cell's editor over its text.
  const bool tabbed = hint == QAbstractItemDelegate::EditNextItem ||
                      hint == QAbstractItemDelegate::EditPreviousItem;
  QTableView::closeEditor(editor, tabbed ? QAbstractItemDelegate::NoHint : hint);
  if (tabbed) TabFrom(hint == QAbstractItemDelegate::EditNextItem);
  emit editingChanged();
}

void RecordGrid::TabFrom(bool forward) {
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return;
  const QHeaderView* header = horizontalHeader();
  const int lastPlace = model_->columnCount() - 1;
  int row = current.row();
  int place = header->visualIndex(current.column()) + (forward ? 1 : -1);
  if (place > lastPlace) {
    place = 0;
    ++row;
  } else if (place < 0) {
    if (row == 0) return;
    place = lastPlace;
    --row;
  }
  if (row >= model_->rowCount()) {
    // Past the last line, as Down there: the line is stored and a new one begins.
    if (DoAction(Action::Append))
      setCurrentIndex(model_->index(model_->CurrentRow(), header->logicalIndex(0)));
    return;
  }
  setCurrentIndex(model_->index(row, header->logicalIndex(place)));
}

void RecordGrid::LeaveGrid(bool forward) {
  // The item view's own version would take the key for a move between cells.
  QWidget::focusNextPrevChild(forward);
}

bool RecordGrid::DoAction(Action action) {
  if (action == Action::Cancel) {
    if (editor_) closeEditor(editor_, QAbstractItemDelegate::RevertModelCache);
  } else {
    CommitEditor();
  }
  bool ok = true;
  switch (action) {
    case Action::First:
      ok = model_->First();
      break;
    case Action::Last:
      ok = model_->Last();
      break;
    case Action::Insert:
      ok = model_->Insert();
      break;
    case Action::Append:
      ok = model_->Append();
      break;
    case Action::Delete:
      ok = model_->Delete();
      break;
    case Action::Post:
      ok = model_->Post();
      break;
    case Action::Cancel:
      model_->Cancel();
      break;
  }
  SyncCurrent();
  return ok;
}

void RecordGrid::SyncCurrent() {
  syncing_ = true;
  const int row = model_->CurrentRow();
  const int column = std::max(currentIndex().column(), 0);
  if (row >= 0 && row < model_->rowCount()) {
    const QModelIndex index = model_->index(row, column);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
  } else {
    selectionModel()->clearCurrentIndex();
  }
  syncing_ = false;
}

void RecordGrid::StepLines(int count) {
  const int rows = model_->rowCount();
  if (count == 0 || rows == 0) return;
  const QModelIndex current = currentIndex();
  const int from = current.isValid() ? current.row() : 0;
  const int to = std::clamp(from + count, 0, rows - 1);
  if (to == from && current.isValid()) return;
  const int column = current.isValid() ? current.column() : horizontalHeader()->logicalIndex(0);
  setCurrentIndex(model_->index(to, column));
}

void RecordGrid::keyPressEvent(QKeyEvent* event) {
  const bool plain =
      event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
  // Typing into an empty grid types into its first line, even when the grid got
  // the focus without noticing it (a window activated late).
  if (model_->rowCount() == 0 && model_->Table().Active() && !event->text().isEmpty() &&
      event->text()[0].isPrint() && !(event->modifiers() & Qt::ControlModifier)) {
    DoAction(Action::Append);
    setCurrentIndex(model_->index(model_->CurrentRow(), horizontalHeader()->logicalIndex(0)));
  }
  switch (event->key()) {
    case Qt::Key_Down:
      if (plain && currentIndex().row() >= model_->rowCount() - 1) {
        DoAction(Action::Append);
        return;
      }
      break;
    case Qt::Key_Insert:
      if (plain) {
        DoAction(Action::Insert);
        return;
      }
      break;
    case Qt::Key_Escape:
      DoAction(Action::Cancel);
      return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      const bool forward = event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
      if (event->modifiers() & Qt::ControlModifier) {
        LeaveGrid(forward);
      } else {
        TabFrom(forward);
      }
      return;
    }
    case Qt::Key_Delete:
      if (event->modifiers() & Qt::ControlModifier) {
        if (model_->rowCount() > 0 && (!confirmDelete_ || confirmDelete_()))
          DoAction(Action::Delete);
        return;
      }
      break;
    default:
      break;
  }
  QTableView::keyPressEvent(event);
}

void RecordGrid::FocusChanged(QWidget* old, QWidget* now) {
  if (!now || now->window() != window()) return;
  const bool wasInside = old && (old == this || isAncestorOf(old));
  const bool nowInside = now == this || isAncestorOf(now);
  if (!wasInside && nowInside && model_->rowCount() == 0 && model_->Table().Active()) {
    // An empty grid offers one new row to type into, as a data-aware grid does.
    DoAction(Action::Append);
  } else if (wasInside && !nowInside) {
    // A closing cell editor hands the focus around before the grid takes it
    // back: judge once the focus has settled.
    QMetaObject::invokeMethod(
        this,
        [this] {
          QWidget* focus = QApplication::focusWidget();
          const bool inside = focus && (focus == this || isAncestorOf(focus));
          if (!inside && model_->HasUntouchedNewRow()) DoAction(Action::Cancel);
        },
        Qt::QueuedConnection);
  }
}

}  // namespace velmora
