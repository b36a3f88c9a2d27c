#include "LinesPage.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "AmountBox.h"
#include "RecordLayout.h"

namespace velmora {

namespace {

// The widest amount a field of the file holds: fourteen whole digits, two decimals.
const QString kLargestAmount = QStringLiteral("99999999999999,99");

QLabel* BoldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

// The caption over each typed field's column; the suppliers' grid has a blank
// after two of them.
QString ColumnCaption(Side side, LineField field) {
  const bool customers = side == Side::Customers;
  switch (field) {
    case LineField::TaxNumber:
      return customers ? QStringLiteral("ΑΦΜ (*)") : QStringLiteral("ΑΦΜ (*) ");
    case LineField::Name:
      return QStringLiteral("ΕΠΩΝΥΜΙΑ");
    case LineField::Profession:
      return QStringLiteral("ΕΠΑΓΓΕΛΜΑ");
    case LineField::Obligation:
      return QStringLiteral("ΥΠΟΧΡΕΟΣ (*)");
    case LineField::Town:
      return QStringLiteral("ΠΟΛΗ");
    case LineField::Street:
      return QStringLiteral("ΟΔΟΣ");
    case LineField::StreetNumber:
      return QStringLiteral("ΑΡΙΘΜΟΣ");
    case LineField::PostCode:
      return QStringLiteral("TK");
    case LineField::InvoiceCount:
      return QStringLiteral("ΑΡΙΘΜΟΣ ΤΙΜΟΛΟΓΙΩΝ (*)");
    case LineField::Value:
      return customers ? QStringLiteral("ΑΞΙΑ (*)") : QStringLiteral("ΑΞΙΑ (*) ");
    default:
      return {};
  }
}

}  // namespace

std::vector<RecordTableModel::Column> LinesPage::Columns(Side side) {
  std::vector<RecordTableModel::Column> columns;
  for (const LineField field : kTypedLineFields)
    columns.push_back(
        {QString::fromLatin1(LineFieldName(side, field)), ColumnCaption(side, field)});
  return columns;
}

LinesPage::LinesPage(Side side, RecordTableModel* model, QWidget* parent)
    : QWidget(parent), side_(side) {
  const bool customers = side == Side::Customers;
  setObjectName(customers ? QStringLiteral("customerPage") : QStringLiteral("supplierPage"));
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(6, 6, 6, 6);
  page->setSpacing(4);

  auto* top = new QHBoxLayout;
  const QString itemisationTop = QStringLiteral("Αξία συναλλαγών χωρίς υποχρέωση υποβολής");
  const QString itemisationBottom = QStringLiteral("στοιχείων στις αναλυτικές γραμμές:");
  if (customers) {
    retailSalesBox_ =
        AddAmountBox(QStringLiteral("retailSalesBox"), QStringLiteral("Αξία Λιανικών"),
                     QStringLiteral("Πωλήσεων:"), top);
  }
  withoutItemisationBox_ =
      AddAmountBox(customers ? QStringLiteral("customersWithoutItemisationBox")
                             : QStringLiteral("suppliersWithoutItemisationBox"),
                   itemisationTop, itemisationBottom, top);
  top->addStretch(1);

  grid_ = new RecordGrid(model, this);
  grid_->setObjectName(customers ? QStringLiteral("customerGrid") : QStringLiteral("supplierGrid"));
  grid_->setAccessibleName(customers ? QStringLiteral("Γραμμές πελατών")
                                     : QStringLiteral("Γραμμές προμηθευτών"));
  // Columns widen in both grids; only the suppliers' grid lets them move.
  grid_->horizontalHeader()->setSectionsMovable(!customers);
  // Long captions wrap onto a second line rather than widen the grid.
  grid_->horizontalHeader()->setDefaultAlignment(
      static_cast<Qt::Alignment>(Qt::AlignCenter | Qt::TextWordWrap));
  grid_->horizontalHeader()->setFixedHeight(2 * grid_->fontMetrics().height() + 8);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  // The value column shows the largest amount a file holds in full.
  const int largestAmount = grid_->fontMetrics().horizontalAdvance(kLargestAmount) + 10;
  const int columnWidths[] = {76, 112, 80, 74, 64, 70, 60, 44, 100, largestAmount};
  for (int c = 0; c < 10; ++c) grid_->setColumnWidth(c, columnWidths[c]);

  navigator_ = new RecordNavigator(grid_, this);
  navigator_->setObjectName(customers ? QStringLiteral("customerNavigator")
                                      : QStringLiteral("supplierNavigator"));
  top->addWidget(navigator_, 0, Qt::AlignBottom);
  page->addLayout(top);
  page->addWidget(grid_, 1);

  auto* bottom = new QHBoxLayout;
  countLabel_ = new QLabel(this);
  countLabel_->setObjectName(customers ? QStringLiteral("customerCountLabel")
                                       : QStringLiteral("supplierCountLabel"));
  bottom->addWidget(countLabel_);
  bottom->addSpacing(12);
  sortByNameButton_ = new QPushButton(QStringLiteral("Αλφαβητική Ταξινόμηση"), this);
  sortByNameButton_->setObjectName(QStringLiteral("sortByNameButton"));
  if (customers)
    sortByNameButton_->setToolTip(
        QStringLiteral("Πατήστε για να ταξινομηθούν αλφαβητικά οι εγγραφές "));
  sortByTaxNumberButton_ = new QPushButton(QStringLiteral("Ταξινόμηση Ανά ΑΦΜ"), this);
  sortByTaxNumberButton_->setObjectName(QStringLiteral("sortByTaxNumberButton"));
  // A click leaves the focus in the grid, so that the sort itself stores the
  // pending line; the keyboard still reaches the buttons with Tab.
  for (QPushButton* button : {sortByNameButton_, sortByTaxNumberButton_}) {
    button->setFocusPolicy(Qt::TabFocus);
    bottom->addWidget(button);
  }
  connect(sortByNameButton_, &QPushButton::clicked, this,
          [this] { emit sortRequested(SortKey::ByName); });
  connect(sortByTaxNumberButton_, &QPushButton::clicked, this,
          [this] { emit sortRequested(SortKey::ByTaxNumber); });
  bottom->addStretch(1);
  auto* totalsCaption = BoldLabel(
      customers ? QStringLiteral("Σύνολο (Αναλυτικών):") : QStringLiteral("Σύνολο:"), this);
  bottom->addWidget(totalsCaption);
  invoiceTotalBox_ = new QLineEdit(this);
  invoiceTotalBox_->setObjectName(customers ? QStringLiteral("customerInvoiceTotalBox")
                                            : QStringLiteral("supplierInvoiceTotalBox"));
  invoiceTotalBox_->setAccessibleName(QStringLiteral("Σύνολο τιμολογίων"));
  invoiceTotalBox_->setFixedWidth(90);
  valueTotalBox_ = new QLineEdit(this);
  valueTotalBox_->setObjectName(customers ? QStringLiteral("customerValueTotalBox")
                                          : QStringLiteral("supplierValueTotalBox"));
  valueTotalBox_->setAccessibleName(QStringLiteral("Σύνολο αξίας"));
  valueTotalBox_->setFixedWidth(valueTotalBox_->fontMetrics().horizontalAdvance(kLargestAmount) +
                                16);
  bottom->addWidget(invoiceTotalBox_);
  bottom->addWidget(valueTotalBox_);
  page->addLayout(bottom);

  obligationNote_ = new QLabel(QStringLiteral("Στη στήλη ΥΠΟΧΡΕΟΣ γράφουμε 0 αν ο\n"
                                              "αντισυμβαλλόμενος έχει υποχρέωση \n"
                                              "υποβολής συγκεντρωτικών καταστάσεων \n"
                                              "ή 1 εάν δεν έχει"),
                               this);
  obligationNote_->setObjectName(customers ? QStringLiteral("customerObligationNote")
                                           : QStringLiteral("supplierObligationNote"));
  obligationNote_->setStyleSheet(QStringLiteral(
      "QLabel { color: #1f2a38; background: #fffbe6; border: 1px solid #c9b458; padding: 2px; }"));
  obligationNote_->setAttribute(Qt::WA_TransparentForMouseEvents);
  obligationNote_->hide();
  // The note shows while the obliged column is the selected one (by place) and
  // the user is in the grid, just above the grid at that column, so that it
  // hides none of the lines.
  auto updateNote = [this] {
    const QModelIndex current = grid_->currentIndex();
    const QWidget* focus = QApplication::focusWidget();
    const bool show =
        current.isValid() && focus && (focus == grid_ || grid_->isAncestorOf(focus)) &&
        kTypedLineFields[static_cast<std::size_t>(
            grid_->horizontalHeader()->visualIndex(current.column()))] == LineField::Obligation;
    if (show) {
      obligationNote_->adjustSize();
      const QPoint column = grid_->viewport()->mapTo(
          this, QPoint(grid_->horizontalHeader()->sectionViewportPosition(current.column()), 0));
      obligationNote_->move(std::max(0, std::min(column.x(), width() - obligationNote_->width())),
                            std::max(0, grid_->y() - obligationNote_->height()));
      obligationNote_->raise();
    }
    obligationNote_->setVisible(show);
  };
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this, updateNote);
  connect(grid_->horizontalHeader(), &QHeaderView::sectionMoved, this, updateNote);
  connect(qApp, &QApplication::focusChanged, this, updateNote);
  SetCount(0);
}

QLineEdit* LinesPage::AddAmountBox(const QString& name, const QString& captionTop,
                                   const QString& captionBottom, QLayout* row) {
  auto* column = new QVBoxLayout;
  column->setSpacing(1);
  column->addWidget(BoldLabel(captionTop + QLatin1Char('\n') + captionBottom, this));
  auto* box = new QLineEdit(this);
  box->setObjectName(name);
  box->setMaxLength(static_cast<int>(kAmountBoxLength));
  box->setFixedWidth(140);
  box->setAccessibleName(captionTop + QLatin1Char(' ') + captionBottom);
  column->addWidget(box);
  column->addStretch(1);
  static_cast<QHBoxLayout*>(row)->addLayout(column);
  return box;
}

void LinesPage::SetCount(int lines) {
  countLabel_->setText(QString::number(lines) + (side_ == Side::Customers
                                                     ? QStringLiteral(" Εγγραφές (Πελάτες)")
                                                     : QStringLiteral(" Εγγραφές (Προμηθευτές)")));
}

}  // namespace velmora
