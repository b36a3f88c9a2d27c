#pragma once

#include <QWidget>

#include "DBGrid.h"
#include "DBNavigator.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

// One tab of the main window: the statement amounts of a side, the navigator
// bar, the sort buttons, the grid of lines, and the count and totals under it.
// Customers and suppliers differ only in names, captions and the retail box.
class LinesPage : public QWidget {
 public:
  enum class Side { Customers, Suppliers };

  LinesPage(Side side, RecordTableModel* model, QWidget* parent = nullptr);

  Side side;
  // Customers: EditPub1 (retail sales) and EditPub12; suppliers: EditPub2 only
  // (retailSales is null there).
  QLineEdit* retailSales = nullptr;
  QLineEdit* withoutItemisation = nullptr;
  DBNavigator* navigator;
  QPushButton* sortByName;
  QPushButton* sortByAfm;
  DBGrid* grid;
  QLabel* countLabel;
  QLineEdit* invoiceTotal;
  QLineEdit* valueTotal;
  QLabel* ypovolhNote;

  void SetCount(int lines);
  static std::vector<RecordTableModel::Column> Columns(Side side);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLineEdit* AddAmountBox(const QString& name, const QString& captionTop,
                          const QString& captionBottom, QLayout* row);
};

}  // namespace velmora
