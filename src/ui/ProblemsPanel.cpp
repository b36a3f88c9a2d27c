#include "ProblemsPanel.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "AppTexts.h"
#include "GreekText.h"

namespace velmora {

namespace {

QString Title() { return QStringLiteral("Προβλήματα της δήλωσης"); }

QString PageName(const StatementProblem& problem) {
  if (!problem.side) return QStringLiteral("Στοιχεία υπόχρεου");
  return PageTitle(*problem.side);
}

// The field as its caption names it on the screen.
QString FieldName(const StatementProblem& problem) {
  if (!problem.side) {
    switch (problem.filerField) {
      case FilerFocus::Year:
        return QStringLiteral("Έτος");
      case FilerFocus::TaxNumber:
        return QStringLiteral("ΑΦΜ");
      case FilerFocus::InstallationType:
        return QStringLiteral("Είδος Εγκατάστασης");
      case FilerFocus::TaxOffice:
        return QStringLiteral("ΔΟΥ");
      case FilerFocus::None:
        return {};
    }
    return {};
  }
  switch (problem.field) {
    case LineField::TaxNumber:
      return QStringLiteral("ΑΦΜ");
    case LineField::Obligation:
      return QStringLiteral("ΥΠΟΧΡΕΟΣ");
    case LineField::InvoiceCount:
      return QStringLiteral("ΑΡΙΘΜΟΣ ΤΙΜΟΛΟΓΙΩΝ");
    case LineField::Value:
      return QStringLiteral("ΑΞΙΑ");
    default:
      return {};
  }
}

}  // namespace

ProblemsPanel::ProblemsPanel(QWidget* parent) : QDockWidget(Title(), parent) {
  setObjectName(QStringLiteral("problemsPanel"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
              QDockWidget::DockWidgetFloatable);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("problemsList"));
  list_->setAccessibleName(Title());
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setHeaderLabels({QStringLiteral("Σελίδα"), QStringLiteral("Γραμμή"),
                          QStringLiteral("Πεδίο"), QStringLiteral("Μήνυμα")});
  list_->header()->setStretchLastSection(true);
  const int widths[] = {150, 70, 160};
  for (int column = 0; column < 3; ++column) list_->setColumnWidth(column, widths[column]);
  setWidget(list_);
  // A click or Enter on a problem goes where it lies.
  connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const int index = list_->indexOfTopLevelItem(item);
    if (index >= 0 && static_cast<std::size_t>(index) < problems_.size())
      emit problemChosen(problems_[static_cast<std::size_t>(index)]);
  });
}

void ProblemsPanel::ShowProblems(const std::vector<StatementProblem>& problems) {
  problems_ = problems;
  list_->clear();
  setWindowTitle(QStringLiteral("Προβλήματα της δήλωσης (%1)").arg(problems.size()));
  if (problems.empty()) {
    auto* none = new QTreeWidgetItem(
        list_, {QString(), QString(), QString(), QStringLiteral("Δεν βρέθηκαν προβλήματα.")});
    none->setFlags(Qt::ItemIsEnabled);
  }
  for (const StatementProblem& problem : problems) {
    const QString line = problem.side ? QString::number(problem.line + 1) : QString();
    auto* item = new QTreeWidgetItem(
        list_, {PageName(problem), line, FieldName(problem), FromMessage(problem.message)});
    item->setToolTip(3, FromMessage(problem.message));
  }
  show();
  raise();
  if (!problems.empty()) list_->setCurrentItem(list_->topLevelItem(0));
  list_->setFocus();
}

}  // namespace velmora
