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
// grid loses the focus.
class DBGrid : public QTableView {
 public:
  enum class Action { First, Last, Insert, Delete, Post, Cancel, Append };

  DBGrid(RecordTableModel* model, QWidget* parent = nullptr);

  // Judges each character typed into a cell by the column's position: the
  // character to insert, or nullopt to drop it.
  std::function<std::optional<QChar>(int column, QChar typed, const QString& currentText)> KeyPress;
  // Every character typed into a cell, accepted or not.
  std::function<void()> OnTyped;
  std::function<void()> Beep;
  // The grid's own question before Ctrl+Delete; true to delete.
  std::function<bool()> ConfirmDelete;

  RecordTableModel* Model() const { return model_; }
  // Carries the text of an open cell editor into the table and closes it.
  void CommitEditor();
  // Runs a navigator or keyboard action; false when the table refused it.
  bool DoAction(Action action);
  // Puts the view's current cell on the table's cursor.
  void SyncCurrent();
  // The open cell editor, if any (tests type into it).
  QLineEdit* Editor() const { return editor_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  class CellDelegate;
  class RowGate;

  int GateRow(int row);
  void FocusChanged(QWidget* old, QWidget* now);

  RecordTableModel* model_;
  QPointer<QLineEdit> editor_;
  bool syncing_ = false;
};

}  // namespace velmora
