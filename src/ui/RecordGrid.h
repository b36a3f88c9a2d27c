#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <functional>
#include <optional>

#include "RecordTableModel.h"

namespace velmora {

// A grid bound to a record table, behaving as a data-aware grid: typing edits
// the current line, leaving the row stores it (a refused line keeps the row),
// Down on the last row appends, Insert inserts, Escape cancels, Ctrl+Delete
// deletes after a question, and a new row nobody typed into is dropped when the
// grid loses the focus. Tab and Shift+Tab walk the cells line after line and
// never open an editor; Tab past the last line starts a new one. Ctrl+Tab and
// Ctrl+Shift+Tab leave the grid.
class RecordGrid : public QTableView {
  Q_OBJECT

 public:
  enum class Action { First, Last, Insert, Delete, Post, Cancel, Append };

  // Judges each character typed into a cell by the column's position: the
  // character to insert, or nullopt to drop it.
  using KeyRule = std::function<std::optional<QChar>(int column, QChar typed, const QString& text)>;

  explicit RecordGrid(RecordTableModel* model, QWidget* parent = nullptr);

  void SetKeyRule(KeyRule rule) { keyRule_ = std::move(rule); }
  // Whether the cells of a column take capitals only, by the column's position.
  void SetCapitalsRule(std::function<bool(int column)> rule) { capitalsRule_ = std::move(rule); }
  // The grid's own question before Ctrl+Delete; true to delete.
  void SetDeleteConfirmation(std::function<bool()> confirm) { confirmDelete_ = std::move(confirm); }

  RecordTableModel* Model() const { return model_; }
  // Carries the text of an open cell editor into the table and closes it.
  void CommitEditor();
  // Runs a navigator or keyboard action; false when the table refused it.
  bool DoAction(Action action);
  // Puts the view's current cell on the table's cursor.
  void SyncCurrent();
  // Moves the current line that many rows down (up when negative), stopping at
  // the first and last line; the pending line is stored first, as for any move.
  void StepLines(int count);
  // The open cell editor, if any.
  QLineEdit* Editor() const { return editor_; }

 signals:
  // Every character typed into a cell, accepted or not.
  void typed();
  // A typed character was refused.
  void keyRefused();
  // A cell editor opened or closed.
  void editingChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  class CellDelegate;
  class RowGate;

  int GateRow(int row);
  // Tab from the current cell: the next (or previous) cell in the columns' order
  // on screen, across line ends.
  void TabFrom(bool forward);
  // The next (or previous) control of the window.
  void LeaveGrid(bool forward);
  void FocusChanged(QWidget* old, QWidget* now);

  RecordTableModel* model_;
  KeyRule keyRule_;
  std::function<bool(int column)> capitalsRule_;
  std::function<bool()> confirmDelete_;
  QPointer<QLineEdit> editor_;
  bool syncing_ = false;
};

}  // namespace velmora
