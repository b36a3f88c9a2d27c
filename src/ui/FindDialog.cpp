#include "FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "GreekText.h"
#include "InputGuard.h"

namespace velmora {

FindDialog::FindDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("findDialog"));
  setWindowTitle(QStringLiteral("Εύρεση"));
  setModal(true);

  auto* searchBy = new QLabel(QStringLiteral("Αναζήτηση με:"), this);
  taxNumberChoice_ = new QRadioButton(QStringLiteral("ΑΦΜ"), this);
  taxNumberChoice_->setObjectName(QStringLiteral("findByTaxNumberButton"));
  taxNumberChoice_->setChecked(true);
  nameChoice_ = new QRadioButton(QStringLiteral("Επωνυμία"), this);
  nameChoice_->setObjectName(QStringLiteral("findByNameButton"));
  searchBy->setBuddy(taxNumberChoice_);

  auto* findWhat = new QLabel(QStringLiteral("Εύρεση του:"), this);
  textBox_ = new QLineEdit(this);
  textBox_->setObjectName(QStringLiteral("findTextBox"));
  findWhat->setBuddy(textBox_);

  wholeFieldBox_ = new QCheckBox(QStringLiteral("Μόνο ολόκληρες λέξεις"), this);
  wholeFieldBox_->setObjectName(QStringLiteral("wholeFieldBox"));
  wholeFieldBox_->setChecked(true);

  okButton_ = new QPushButton(QStringLiteral("ΟΚ"), this);
  okButton_->setObjectName(QStringLiteral("findOkButton"));
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(QStringLiteral("Ακύρωση"), this);
  cancelButton_->setObjectName(QStringLiteral("findCancelButton"));
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  // The length limit is checked after the key rule (a refused key beeps even in
  // a full box): a filter installed earlier runs later.
  textBox_->installEventFilter(this);
  auto* guard =
      new InputGuard(textBox_, [this](QChar typed, const QString&) -> std::optional<QChar> {
        return FindTextKeyFilter(Field(), typed.unicode()) ? std::optional<QChar>(typed)
                                                           : std::nullopt;
      });
  // Names are kept in capitals, and found with the case they have.
  guard->TakeCapitals();
  connect(guard, &InputGuard::refused, this, &FindDialog::keyRefused);

  auto* choices = new QHBoxLayout;
  choices->addWidget(taxNumberChoice_);
  choices->addWidget(nameChoice_);
  choices->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(searchBy);
  layout->addLayout(choices);
  layout->addWidget(findWhat);
  layout->addWidget(textBox_);
  layout->addWidget(wholeFieldBox_);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
}

FindField FindDialog::Field() const {
  return nameChoice_->isChecked() ? FindField::Name : FindField::TaxNumber;
}

FindRequest FindDialog::Request() const {
  FindRequest request;
  request.field = Field();
  request.text = ToCp1253(textBox_->text()).value_or(Cp1253Text());
  request.match = wholeFieldBox_->isChecked() ? FindMatch::WholeField : FindMatch::Beginning;
  return request;
}

void FindDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Typing at once replaces the last text, which stays on view until then.
  textBox_->setFocus();
  textBox_->selectAll();
}

bool FindDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != textBox_ || event->type() != QEvent::KeyPress)
    return QDialog::eventFilter(watched, event);
  const QString text = static_cast<QKeyEvent*>(event)->text();
  if (text.size() != 1 || !InputGuard::IsTypedCharacter(text[0]) || text[0] == QChar('\b'))
    return false;
  // A full box takes no more, without a beep; typing over a selection replaces it.
  const auto kept =
      static_cast<std::size_t>(textBox_->text().size() - textBox_->selectedText().size());
  return kept >= FindTextLimit(Field());
}

}  // namespace velmora
