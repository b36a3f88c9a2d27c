#pragma once

#include <QWidget>

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

 signals:
  // A sort button was pressed: the page's lines are to be put in that order.
  void sortRequested(velmora::SortKey key);

 private:
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
};

}  // namespace velmora
