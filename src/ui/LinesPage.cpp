#include "LinesPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

QLabel* BoldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

}  // namespace

std::vector<RecordTableModel::Column> LinesPage::Columns(Side side) {
  const bool customers = side == Side::Customers;
  return {
      {customers ? "AFMCust" : "AFMProm", customers ? "ΑΦΜ (*)" : "ΑΦΜ (*) "},
      {customers ? "NameCust" : "NameProm", "ΕΠΩΝΥΜΙΑ"},
      {customers ? "ProfCust" : "ProfProm", "ΕΠΑΓΓΕΛΜΑ"},
      {"Ypovolh", "ΥΠΟΧΡΕΟΣ (*)"},
      {"City", "ΠΟΛΗ"},
      {"Street", "ΟΔΟΣ"},
      {"StreetNo", "ΑΡΙΘΜΟΣ"},
      {"TK", "TK"},
      {"NoTimologion", "ΑΡΙΘΜΟΣ ΤΙΜΟΛΟΓΙΩΝ (*)"},
      {"Value", customers ? "ΑΞΙΑ (*)" : "ΑΞΙΑ (*) "},
  };
}

LinesPage::LinesPage(Side pageSide, RecordTableModel* model, QWidget* parent)
    : QWidget(parent), side(pageSide) {
  const bool customers = side == Side::Customers;
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(6, 6, 6, 6);
  page->setSpacing(4);

  auto* top = new QHBoxLayout;
  const QString itemisationTop = QStringLiteral("Αξία συναλλαγών χωρίς υποχρέωση υποβολής");
  const QString itemisationBottom = QStringLiteral("στοιχείων στις αναλυτικές γραμμές:");
  if (customers) {
    retailSales = AddAmountBox(QStringLiteral("EditPub1"), QStringLiteral("Αξία Λιανικών"),
                               QStringLiteral("Πωλήσεων:"), top);
    withoutItemisation =
        AddAmountBox(QStringLiteral("EditPub12"), itemisationTop, itemisationBottom, top);
  } else {
    withoutItemisation =
        AddAmountBox(QStringLiteral("EditPub2"), itemisationTop, itemisationBottom, top);
  }
  top->addStretch(1);

  grid = new DBGrid(model, this);
  grid->setObjectName(customers ? QStringLiteral("DBGrid1") : QStringLiteral("DBGrid2"));
  grid->setAccessibleName(customers ? QStringLiteral("Γραμμές πελατών")
                                    : QStringLiteral("Γραμμές προμηθευτών"));
  // Only the suppliers' grid lets the user resize and move its columns.
  grid->horizontalHeader()->setSectionsMovable(!customers);
  // Long captions wrap onto a second line rather than widen the grid.
  grid->horizontalHeader()->setDefaultAlignment(
      static_cast<Qt::Alignment>(Qt::AlignCenter | Qt::TextWordWrap));
  grid->horizontalHeader()->setFixedHeight(2 * grid->fontMetrics().height() + 8);
  grid->horizontalHeader()->setSectionResizeMode(customers ? QHeaderView::Fixed
                                                           : QHeaderView::Interactive);
  const int columnWidths[] = {76, 128, 95, 78, 72, 98, 60, 44, 108, 93};
  for (int c = 0; c < 10; ++c) grid->setColumnWidth(c, columnWidths[c]);

  navigator = new DBNavigator(grid, this);
  navigator->setObjectName(customers ? QStringLiteral("DBNavigator1")
                                     : QStringLiteral("DBNavigator2"));
  top->addWidget(navigator, 0, Qt::AlignBottom);
  sortByName = new QPushButton(QStringLiteral("Αλφαβητική Ταξινόμηση"), this);
  sortByName->setObjectName(customers ? QStringLiteral("Button2") : QStringLiteral("Button3"));
  if (customers)
    sortByName->setToolTip(QStringLiteral("Πατήστε για να ταξινομηθούν αλφαβητικά οι εγγραφές "));
  sortByAfm = new QPushButton(QStringLiteral("Ταξινόμηση Ανά ΑΦΜ"), this);
  sortByAfm->setObjectName(customers ? QStringLiteral("Button4") : QStringLiteral("Button5"));
  page->addLayout(top);
  page->addWidget(grid, 1);

  auto* bottom = new QHBoxLayout;
  countLabel = new QLabel(this);
  countLabel->setObjectName(customers ? QStringLiteral("Label32") : QStringLiteral("Label33"));
  bottom->addWidget(countLabel);
  bottom->addSpacing(12);
  bottom->addWidget(sortByName);
  bottom->addWidget(sortByAfm);
  bottom->addStretch(1);
  auto* totalsCaption = BoldLabel(
      customers ? QStringLiteral("Σύνολο (Αναλυτικών):") : QStringLiteral("Σύνολο:"), this);
  bottom->addWidget(totalsCaption);
  invoiceTotal = new QLineEdit(this);
  invoiceTotal->setObjectName(customers ? QStringLiteral("EditSum") : QStringLiteral("EditSum2"));
  invoiceTotal->setAccessibleName(QStringLiteral("Σύνολο τιμολογίων"));
  invoiceTotal->setFixedWidth(90);
  valueTotal = new QLineEdit(this);
  valueTotal->setObjectName(customers ? QStringLiteral("EditSumValue")
                                      : QStringLiteral("EditSumValue2"));
  valueTotal->setAccessibleName(QStringLiteral("Σύνολο αξίας"));
  valueTotal->setFixedWidth(130);
  bottom->addWidget(invoiceTotal);
  bottom->addWidget(valueTotal);
  page->addLayout(bottom);

  ypovolhNote = new QLabel(QStringLiteral("Στη στήλη ΥΠΟΧΡΕΟΣ γράφουμε 0 αν ο\n"
                                          "αντισυμβαλλόμενος έχει υποχρέωση \n"
                                          "υποβολής συγκεντρωτικών καταστάσεων \n"
                                          "ή 1 εάν δεν έχει"),
                           this);
  ypovolhNote->setObjectName(customers ? QStringLiteral("Memo3") : QStringLiteral("Memo4"));
  ypovolhNote->setStyleSheet(QStringLiteral("color: #434e5c;"));
  ypovolhNote->setAttribute(Qt::WA_TransparentForMouseEvents);
  ypovolhNote->hide();
  // The note shows while the obliged column is the selected one (by place).
  auto updateNote = [this] {
    const QModelIndex current = grid->currentIndex();
    const bool show =
        current.isValid() && grid->horizontalHeader()->visualIndex(current.column()) == 3;
    ypovolhNote->setVisible(show);
    if (show) ypovolhNote->raise();
  };
  connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, updateNote);
  connect(grid->horizontalHeader(), &QHeaderView::sectionMoved, this, updateNote);
  SetCount(0);
}

void LinesPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ypovolhNote->adjustSize();
  const QRect area = grid->geometry();
  ypovolhNote->move(area.right() - ypovolhNote->width() - 24,
                    area.bottom() - ypovolhNote->height() - 24);
}

QLineEdit* LinesPage::AddAmountBox(const QString& name, const QString& captionTop,
                                   const QString& captionBottom, QLayout* row) {
  auto* column = new QVBoxLayout;
  column->setSpacing(1);
  column->addWidget(BoldLabel(captionTop + QLatin1Char('\n') + captionBottom, this));
  auto* box = new QLineEdit(this);
  box->setObjectName(name);
  box->setMaxLength(16);
  box->setFixedWidth(140);
  box->setAccessibleName(captionTop + QLatin1Char(' ') + captionBottom);
  column->addWidget(box);
  column->addStretch(1);
  static_cast<QHBoxLayout*>(row)->addLayout(column);
  return box;
}

void LinesPage::SetCount(int lines) {
  countLabel->setText(QString::number(lines) + (side == Side::Customers
                                                    ? QStringLiteral(" Εγγραφές (Πελάτες)")
                                                    : QStringLiteral(" Εγγραφές (Προμηθευτές)")));
}

}  // namespace velmora
