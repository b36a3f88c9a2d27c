#include "RecordTableModel.h"

#include <algorithm>

#include "AccessibleNames.h"
#include "GreekText.h"

namespace velmora {

namespace {

// Marks the rows as on the move for as long as it lives.
struct Reshape {
  explicit Reshape(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~Reshape() { flag_ = before_; }
  bool& flag_;
  bool before_;
};

}  // namespace

RecordTableModel::RecordTableModel(RecordTable& table, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !table_.Active()) return 0;
  return table_.RecordCount() + (table_.State() == DataSetState::Insert ? 1 : 0);
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

int RecordTableModel::PendingInsertRow() const {
  return table_.State() == DataSetState::Insert ? table_.PendingInsertIndex() : -1;
}

bool RecordTableModel::IsEditing() const {
  return table_.State() == DataSetState::Edit || table_.State() == DataSetState::Insert;
}

bool RecordTableModel::HasUntouchedNewRow() const {
  return table_.State() == DataSetState::Insert && !table_.PendingRecordChanged();
}

int RecordTableModel::CurrentRow() const {
  if (!table_.Active()) return -1;
  if (table_.State() == DataSetState::Insert) return PendingInsertRow();
  return table_.RecordCount() == 0 ? -1 : table_.CurrentIndex();
}

// The stored line shown on a row, -1 for the row being inserted.
int RecordTableModel::LineOfRow(int row) const {
  const int pending = PendingInsertRow();
  if (pending < 0 || row < pending) return row;
  return row == pending ? -1 : row - 1;
}

int RecordTableModel::FieldIndexOf(int column) const {
  return table_.FieldIndex(columns_[column].field.toStdString());
}

int RecordTableModel::FieldWidth(int column) const {
  return table_.Active() ? table_.Field(FieldIndexOf(column)).width : 0;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole)
    return static_cast<int>(columns_[index.column()].numeric ? Qt::AlignRight | Qt::AlignVCenter
                                                             : Qt::AlignLeft | Qt::AlignVCenter);
  // The whole text; the grid shows it only where the column cuts the cell.
  if (role == Qt::ToolTipRole) role = Qt::DisplayRole;
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const int line = LineOfRow(index.row());
  const bool pendingRow =
      table_.State() == DataSetState::Insert
          ? line < 0
          : table_.State() == DataSetState::Edit && line == table_.CurrentIndex();
  if (pendingRow)
    return FromCp1253(Cp1253Text(table_.FieldText(columns_[index.column()].field.toStdString())));
  if (line < 0 || line >= table_.RecordCount()) return {};
  return FromCp1253(Cp1253Text(table_.FieldTextAt(line, FieldIndexOf(index.column()))));
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // A column is read out by its name; its mark of a mandatory field as a word.
  if (orientation == Qt::Horizontal && role == Qt::AccessibleTextRole)
    return AccessibleFieldName(columns_[section].caption);
  if (orientation == Qt::Horizontal && role == Qt::AccessibleDescriptionRole)
    return AccessibleFieldDescription(columns_[section].caption);
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return columns_[section].caption;
  return section == CurrentRow() ? QStringLiteral("▶") : QString();
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool RecordTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !table_.Active()) return false;
  // Only the current line is edited; the grid moves there first.
  if (index.row() != CurrentRow()) return false;
  const QString text = value.toString();
  if (!IsEditing() && data(index, Qt::EditRole).toString() == text) return true;
  const auto bytes = ToCp1253(text);
  if (!bytes) return false;
  const int rowsBefore = rowCount();
  const bool ok = Guard([&] {
    if (!IsEditing()) {
      if (table_.RecordCount() == 0) {
        const Reshape reshape(reshaping_);
        beginInsertRows({}, 0, 0);
        table_.BeginAppend();
        endInsertRows();
      } else {
        table_.BeginEdit();
      }
    }
    table_.SetFieldText(columns_[index.column()].field.toStdString(), bytes->bytes());
    return true;
  });
  if (rowCount() != rowsBefore) Reload();
  RowChanged(CurrentRow());
  return ok;
}

bool RecordTableModel::Guard(const std::function<bool()>& operation) {
  try {
    return operation();
  } catch (const std::exception& error) {
    emit operationFailed(FromMessage(error.what()));
    return false;
  }
}

void RecordTableModel::RowChanged(int row) {
  if (row < 0 || row >= rowCount()) return;
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

bool RecordTableModel::Post() {
  if (!IsEditing()) return true;
  const int row = CurrentRow();
  Guard([&] { return table_.PostRecord(); });
  // An AfterPost failure still leaves the line stored; only a refusal keeps it pending.
  RowChanged(row);
  return !IsEditing();
}

void RecordTableModel::Cancel() {
  if (table_.State() == DataSetState::Insert) {
    const int row = PendingInsertRow();
    const Reshape reshape(reshaping_);
    beginRemoveRows({}, row, row);
    table_.CancelRecord();
    endRemoveRows();
    RowChanged(CurrentRow());
  } else if (table_.State() == DataSetState::Edit) {
    table_.CancelRecord();
    RowChanged(CurrentRow());
  }
}

int RecordTableModel::MoveToRow(int row) {
  if (!table_.Active()) return -1;
  if (row == CurrentRow()) return row;
  if (HasUntouchedNewRow()) {
    const int pending = PendingInsertRow();
    Cancel();
    if (row > pending) --row;
  } else if (IsEditing() && !Post()) {
    return -1;
  }
  // A stored new line keeps the row it was typed on, so the other rows keep their numbers.
  if (table_.RecordCount() == 0) return -1;
  row = std::clamp(row, 0, table_.RecordCount() - 1);
  const int before = CurrentRow();
  Guard([&] {
    table_.SetPosition(row + 1);
    return true;
  });
  RowChanged(before);
  RowChanged(CurrentRow());
  return CurrentRow();
}

bool RecordTableModel::Insert() {
  if (!table_.Active() || HasUntouchedNewRow()) return true;
  if (!Post()) return false;
  const int row = std::max(table_.RecordCount() == 0 ? 0 : table_.CurrentIndex(), 0);
  const Reshape reshape(reshaping_);
  beginInsertRows({}, row, row);
  const bool ok = Guard([&] { return table_.BeginInsert(); });
  endInsertRows();
  if (!ok) Reload();
  RowChanged(row);
  return ok;
}

bool RecordTableModel::Append() {
  if (!table_.Active() || HasUntouchedNewRow()) return true;
  if (!Post()) return false;
  const int row = table_.RecordCount();
  const Reshape reshape(reshaping_);
  beginInsertRows({}, row, row);
  const bool ok = Guard([&] { return table_.BeginAppend(); });
  endInsertRows();
  if (!ok) Reload();
  RowChanged(row);
  return ok;
}

bool RecordTableModel::Delete() {
  if (!table_.Active()) return false;
  if (table_.State() == DataSetState::Insert) {
    Cancel();
    return true;
  }
  if (table_.RecordCount() == 0) return false;
  const int row = CurrentRow();
  const Reshape reshape(reshaping_);
  beginRemoveRows({}, row, row);
  try {
    table_.DeleteRecord();
  } catch (const std::exception& error) {
    endRemoveRows();
    // Whether the line went before the failure or not, the view starts afresh.
    Reload();
    emit operationFailed(FromMessage(error.what()));
    return false;
  }
  endRemoveRows();
  RowChanged(CurrentRow());
  return true;
}

bool RecordTableModel::First() { return table_.RecordCount() > 0 && MoveToRow(0) >= 0; }

bool RecordTableModel::Last() { return table_.RecordCount() > 0 && MoveToRow(rowCount() - 1) >= 0; }

void RecordTableModel::Reload() {
  const Reshape reshape(reshaping_);
  beginResetModel();
  endResetModel();
}

}  // namespace velmora
