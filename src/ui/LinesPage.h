#pragma once

#include <QList>
#include <QWidget>
#include <vector>

#include "ColumnFit.h"
#include "LineOrder.h"
#include "RecordGrid.h"
#include "RecordNavigator.h"
#include "Side.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

// One tab of the main window: the statement amounts of a side, the navigator
// bar, the grid of lines, and the count and totals under it. Customers and
// suppliers differ only in names, captions and the retail sales box.
class LinesPage : public QWidget {
  Q_OBJECT

 public:
  LinesPage(Side side, RecordTableModel* model, QWidget* parent = nullptr);

  Side side() const { return side_; }
  // Customers only; null on the suppliers' page.
  QLineEdit* retailSalesBox() const { return retailSalesBox_; }
  QLineEdit* withoutItemisationBox() const { return withoutItemisationBox_; }
  RecordGrid* grid() const { return grid_; }
  RecordNavigator* navigator() const { return navigator_; }
  QLineEdit* invoiceTotalBox() const { return invoiceTotalBox_; }
  QLineEdit* valueTotalBox() const { return valueTotalBox_; }

  void SetCount(int lines);
  // "Αλφαβητική Ταξινόμηση" and "Ταξινόμηση Ανά ΑΦΜ".
  QPushButton* sortButton(SortKey key) const {
    return key == SortKey::ByName ? sortByNameButton_ : sortByTaxNumberButton_;
  }
  // The grid's columns: the typed fields of a line with their captions.
  static std::vector<RecordTableModel::Column> Columns(Side side);

  // The columns' widths in pixels, by field.
  QList<int> ColumnWidths() const;
  // Widths the user chose in an earlier run; the columns no longer follow the
  // window's width. Widths that do not fit the grid are passed over.
  void RestoreColumnWidths(const QList<int>& widths);

 signals:
  // The user dragged a column's width.
  void columnWidthsChanged(const QList<int>& widths);
  // A sort button was pressed: the page's lines are to be put in that order.
  void sortRequested(velmora::SortKey key);

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Postcodes, tax numbers, codes, counts and amounts whole; names, professions,
  // towns and streets share the rest of the grid's width.
  void FitColumnWidths();
  QLineEdit* AddAmountBox(const QString& name, const QString& captionTop,
                          const QString& captionBottom, QLayout* row);

  Side side_;
  QLineEdit* retailSalesBox_ = nullptr;
  QLineEdit* withoutItemisationBox_ = nullptr;
  RecordNavigator* navigator_;
  RecordGrid* grid_;
  QLabel* countLabel_;
  QPushButton* sortByNameButton_;
  QPushButton* sortByTaxNumberButton_;
  QLineEdit* invoiceTotalBox_;
  QLineEdit* valueTotalBox_;
  QLabel* obligationNote_;
  std::vector<ColumnNeed> columnNeeds_;
  // Widths being set by the program, not dragged by the user.
  bool fitting_ = false;
  bool userWidths_ = false;
};

}  // namespace velmora
