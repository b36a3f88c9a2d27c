#include "LinesPage.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "AmountBox.h"
#include "ColumnFit.h"
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
    columns.push_back({QString::fromLatin1(LineFieldName(side, field)), ColumnCaption(side, field),
                       field == LineField::InvoiceCount || field == LineField::Value});
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
  for (const LineField field : kTypedLineFields) {
    const LineFieldLayout& layout = LineLayoutOf(field);
    const bool text = layout.typing == Typing::AnyText && field != LineField::TaxNumber;
    // An amount shows its decimal comma besides the field's digits.
    columnNeeds_.push_back(
        {static_cast<int>(layout.span.width) + (layout.typing == Typing::Decimal ? 1 : 0), !text,
         field == LineField::Name || field == LineField::Profession || field == LineField::Town ||
             field == LineField::Street,
         ColumnCaption(side, field)});
  }
  FitColumnWidths();
  grid_->installEventFilter(this);
  // A width the user drags is kept, here and at the next start.
  connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
    if (fitting_) return;
    userWidths_ = true;
    emit columnWidthsChanged(ColumnWidths());
  });

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
  // The totals are the program's to write: the user may select and copy them,
  // never change them. Right-aligned, so that their digits line up with the cells'.
  for (QLineEdit* total : {invoiceTotalBox_, valueTotalBox_}) {
    total->setReadOnly(true);
    total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bottom->addWidget(total);
  }
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
  // the user is in the grid. It lies inside the grid's rows at that column, at
  // their foot, or at their head when the current line is down there: it covers
  // no caption, no label and never the line being typed.
  auto updateNote = [this] {
    const QModelIndex current = grid_->currentIndex();
    const QWidget* focus = QApplication::focusWidget();
    const bool show =
        current.isValid() && focus && (focus == grid_ || grid_->isAncestorOf(focus)) &&
        kTypedLineFields[static_cast<std::size_t>(
            grid_->horizontalHeader()->visualIndex(current.column()))] == LineField::Obligation;
    if (show) {
      obligationNote_->adjustSize();
      const QWidget* rows = grid_->viewport();
      const QRect rowsArea(rows->mapTo(this, QPoint(0, 0)), rows->size());
      const QRect cell = grid_->visualRect(current).translated(rowsArea.topLeft());
      const int x = std::max(rowsArea.left(),
                             std::min(cell.left(), rowsArea.right() - obligationNote_->width()));
      QRect note(QPoint(x, rowsArea.bottom() - obligationNote_->height()), obligationNote_->size());
      if (note.top() <= cell.bottom()) note.moveTop(rowsArea.top());
      if (note.intersects(cell)) note.moveTop(cell.bottom() + 1);
      obligationNote_->move(note.topLeft());
      obligationNote_->raise();
    }
    obligationNote_->setVisible(show);
  };
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this, updateNote);
  connect(grid_->horizontalHeader(), &QHeaderView::sectionMoved, this, updateNote);
  connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, updateNote);
  connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, updateNote);
  connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, updateNote);
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

QList<int> LinesPage::ColumnWidths() const {
  QList<int> widths;
  for (int column = 0; column < grid_->model()->columnCount(); ++column)
    widths.append(grid_->columnWidth(column));
  return widths;
}

void LinesPage::RestoreColumnWidths(const QList<int>& widths) {
  if (widths.size() != grid_->model()->columnCount()) return;
  // A width too small to grab again is no width the user meant.
  for (int width : widths)
    if (width < grid_->horizontalHeader()->minimumSectionSize()) return;
  fitting_ = true;
  for (int column = 0; column < widths.size(); ++column)
    grid_->setColumnWidth(column, widths[column]);
  fitting_ = false;
  userWidths_ = true;
}

void LinesPage::FitColumnWidths() {
  const QList<int> widths =
      FitColumns(columnNeeds_, grid_->fontMetrics(),
                 grid_->viewport()->width() > 0 ? grid_->viewport()->width() : width());
  fitting_ = true;
  for (int column = 0; column < widths.size(); ++column)
    grid_->setColumnWidth(column, widths[column]);
  fitting_ = false;
}

bool LinesPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::Resize && !userWidths_) FitColumnWidths();
  return QWidget::eventFilter(watched, event);
}

void LinesPage::SetCount(int lines) {
  countLabel_->setText(QString::number(lines) + (side_ == Side::Customers
                                                     ? QStringLiteral(" Εγγραφές (Πελάτες)")
                                                     : QStringLiteral(" Εγγραφές (Προμηθευτές)")));
}

}  // namespace velmora
