#include "RecoveryDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "AppTexts.h"

namespace velmora {

RecoveryDialog::RecoveryDialog(const QString& message, const QStringList& statements,
                               QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
  setWindowTitle(ApplicationTitle());
  setObjectName(QStringLiteral("recoveryDialog"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(message, this);
  label->setWordWrap(true);
  layout->addWidget(label);
  list_->setObjectName(QStringLiteral("recoveryList"));
  list_->addItems(statements);
  list_->setCurrentRow(0);
  list_->setAccessibleName(QStringLiteral("Δηλώσεις που δεν αποθηκεύτηκαν"));
  // One statement needs no list: the question names it.
  list_->setVisible(statements.size() > 1);
  layout->addWidget(list_);

  using Action = Questions::RecoveryChoice::Action;
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* recover =
      buttons->addButton(QStringLiteral("Ανάκτηση"), QDialogButtonBox::ActionRole);
  QPushButton* remove =
      buttons->addButton(QStringLiteral("Διαγραφή"), QDialogButtonBox::ActionRole);
  QPushButton* later = buttons->addButton(QStringLiteral("Αργότερα"), QDialogButtonBox::ActionRole);
  recover->setDefault(true);
  connect(recover, &QPushButton::clicked, this, [this] { Choose(Action::Recover); });
  connect(remove, &QPushButton::clicked, this, [this] { Choose(Action::Delete); });
  connect(later, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QListWidget::itemActivated, this, [this] { Choose(Action::Recover); });
  layout->addWidget(buttons);
  // As wide as its title, which the window manager would cut otherwise.
  setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) * 5 / 4 + 160);
}

void RecoveryDialog::Choose(Questions::RecoveryChoice::Action action) {
  if (list_->currentRow() < 0) return;
  choice_ = {action, static_cast<std::size_t>(list_->currentRow())};
  accept();
}

}  // namespace velmora
