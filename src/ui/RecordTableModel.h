#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>

#include "RecordTable.h"

namespace velmora {

// Shows a record table to a grid and carries the grid's edits back to it. The
// grid's current row is the table's cursor; a line being inserted appears as an
// extra row at the place where it will be stored. Every change of the table's
// rows made through here is announced to the view.
class RecordTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  struct Column {
    QString field;
    QString caption;
    // Counts and amounts, whose digits line up on the right.
    bool numeric = false;
  };

  RecordTableModel(RecordTable& table, std::vector<Column> columns, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  RecordTable& Table() { return table_; }
  int FieldWidth(int column) const;
  const QString& FieldName(int column) const { return columns_[column].field; }

  // The row the table's cursor stands on; -1 when the table has no rows.
  int CurrentRow() const;
  // The row of the line being inserted, -1 when none.
  int PendingInsertRow() const;
  bool IsEditing() const;
  // A new row nobody typed into.
  bool HasUntouchedNewRow() const;

  // Grid and navigator actions. Each returns false when the table refused
  // (a line that failed its checks stays pending, the cursor where it was).
  bool Post();
  void Cancel();
  // Makes the row current, storing the pending line first and dropping an
  // untouched new row. Returns the row that is current afterwards, or -1 when
  // the pending line was refused.
  int MoveToRow(int row);
  bool Insert();
  bool Append();
  bool Delete();
  bool First();
  bool Last();

  // After the table was closed, reopened or rewritten behind the model's back.
  void Reload();
  // True while rows come or go: the view then moves its cursor itself, and that
  // move must not reach the table.
  bool Reshaping() const { return reshaping_; }

 signals:
  // A table operation failed, for another reason than a refused line (which
  // has been explained to the user already).
  void operationFailed(const QString& message);

 private:
  int LineOfRow(int row) const;
  int FieldIndexOf(int column) const;
  // Runs a table operation: its own answer, or false when it threw (the
  // failure is then announced; a refused line was told by its checks).
  bool Guard(const std::function<bool()>& operation);
  void RowChanged(int row);

  RecordTable& table_;
  std::vector<Column> columns_;
  bool reshaping_ = false;
};

}  // namespace velmora
