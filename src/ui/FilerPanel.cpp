#include "FilerPanel.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "AccessibleNames.h"
#include "Dialogs.h"
#include "Environment.h"
#include "FilerChecks.h"
#include "FocusReasons.h"
#include "GreekText.h"
#include "InputGuard.h"
#include "KeyFilters.h"
#include "TaxNumber.h"
#include "TaxOffices.h"
#include "TextRules.h"

namespace velmora {

struct FilerPanel::FilerField {
  HeaderField field;
  const char* objectName;
  const char* label;
  Filter filter;
  int row, column, span;
};

FilerPanel::FilerPanel(Dialogs& dialogs, Environment& environment, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), environment_(environment) {
  setObjectName(QStringLiteral("filerPanel"));
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);

  // Created in tab order; each caption stands over its field.
  AddField({HeaderField::Year, "yearBox", "Έτος που αφορούν\nτα στοιχεία: (*)", Filter::Digits, 0,
            0, 1});

  auto* officeLabel = new QLabel(QStringLiteral("ΔΟΥ: (*) "), this);
  officeLabel->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  taxOfficeList_ = new QComboBox(this);
  taxOfficeList_->setObjectName(QStringLiteral("taxOfficeList"));
  // Each office carries its code, so that the choice and its code are one.
  for (const TaxOffice& office : TaxOffices()) {
    taxOfficeList_->addItem(QString::fromUtf8(office.name), QString::fromLatin1(office.code));
  }
  taxOfficeList_->setMaxVisibleItems(20);
  // A wheel turned over the box on the way elsewhere would give it the focus,
  // and with it the turn: it takes the focus from clicks and keys only.
  taxOfficeList_->setFocusPolicy(Qt::StrongFocus);
  // Some styles show every item of a popup at once; this one keeps to the twenty.
  taxOfficeList_->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  officeLabel->setBuddy(taxOfficeList_);
  // Named by its caption, not by the office chosen in it.
  taxOfficeList_->setAccessibleName(AccessibleFieldName(officeLabel->text()));
  taxOfficeList_->setAccessibleDescription(AccessibleFieldDescription(officeLabel->text()));
  taxOfficeList_->installEventFilter(this);
  connect(taxOfficeList_, &QComboBox::currentIndexChanged, this, &FilerPanel::changed);
  connect(taxOfficeList_, &QComboBox::activated, this, &FilerPanel::modified);
  grid->addWidget(officeLabel, 0, 1, 1, 2);
  grid->addWidget(taxOfficeList_, 1, 1, 1, 2);

  const FilerField rest[] = {
      {HeaderField::FileNumber, "fileNumberBox", "Αριθμός Φακέλου\n(για τις ΑΕ):", Filter::Digits,
       0, 3, 1},
      {HeaderField::CompanyName, "companyNameBox", "Επωνυμία Επιχείρησης: (*)", Filter::Any, 0, 4,
       1},
      {HeaderField::TaxNumber, "taxNumberBox", "ΑΦΜ: (*) ", Filter::Digits, 0, 5, 1},
      {HeaderField::Profession, "professionBox", "Αντικείμενο Εργασιών (Επάγγελμα): (*)",
       Filter::Any, 2, 0, 2},
      {HeaderField::Town, "townBox", "Διεύθυνση - Πόλη:", Filter::Any, 2, 2, 1},
      {HeaderField::Street, "streetBox", "Οδός:", Filter::Any, 2, 3, 1},
      {HeaderField::StreetNumber, "streetNumberBox", "Αριθμός:", Filter::Any, 2, 4, 1},
      {HeaderField::PostCode, "postCodeBox", "Τ.Κ.:", Filter::Digits, 2, 5, 1},
      {HeaderField::Telephone, "telephoneBox", "Τηλέφωνο:", Filter::Digits, 4, 0, 1},
      {HeaderField::Fax, "faxBox", "Φαξ:", Filter::Digits, 4, 1, 1},
      {HeaderField::Email, "emailBox", "Email:", Filter::Any, 4, 2, 2},
      {HeaderField::InstallationType, "installationTypeBox", "Είδος Εγκατάστασης: (*) ",
       Filter::InstallationType, 4, 4, 1},
  };
  for (const FilerField& entry : rest) AddField(entry);
  auto* mandatory = new QLabel(QStringLiteral("(*) Υποχρεωτικά Στοιχεία"), this);
  QFont bold = mandatory->font();
  bold.setBold(true);
  mandatory->setFont(bold);
  grid->addWidget(mandatory, 5, 5, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);

  // Shown by the installation type while it has the focus, over whatever lies there.
  installationTypeNote_ = new QLabel(QStringLiteral("- Ε συνολικά για την έδρα και τα \n"
                                                    "υποκαταστήματα\n"
                                                    "- 0 (μηδέν) μόνο της έδρας\n"
                                                    "- Αριθμός εγκατάστασης μητρώου Pellion για \n"
                                                    "υποκατάστημα"),
                                     parent ? parent : this);
  installationTypeNote_->setObjectName(QStringLiteral("installationTypeNote"));
  installationTypeNote_->setStyleSheet(
      QStringLiteral("QLabel { background: #fffbe6; color: #1f3a93; border: 1px solid #c9b458; "
                     "padding: 4px; }"));
  installationTypeNote_->adjustSize();
  installationTypeNote_->hide();

  debitInvoicesButton_ = new QRadioButton(QStringLiteral("Χρεωστικά Τιμολόγια"), this);
  debitInvoicesButton_->setObjectName(QStringLiteral("debitInvoicesButton"));
  creditBalancesButton_ = new QRadioButton(QStringLiteral("Πιστωτικά Υπόλοιπα"), this);
  creditBalancesButton_->setObjectName(QStringLiteral("creditBalancesButton"));
  debitInvoicesButton_->setChecked(true);
  connect(debitInvoicesButton_, &QRadioButton::clicked, this, &FilerPanel::modified);
  connect(creditBalancesButton_, &QRadioButton::clicked, this, &FilerPanel::modified);
  connect(creditBalancesButton_, &QRadioButton::toggled, this, &FilerPanel::changed);
  auto* kinds = new QVBoxLayout;
  kinds->addWidget(debitInvoicesButton_);
  kinds->addWidget(creditBalancesButton_);
  grid->addLayout(kinds, 0, 6, 3, 1, Qt::AlignTop);
  for (int column = 0; column < 7; ++column) grid->setColumnStretch(column, 1);
}

QLineEdit* FilerPanel::AddField(const FilerField& entry) {
  auto* caption = new QLabel(QString::fromUtf8(entry.label), this);
  auto* field = new QLineEdit(this);
  field->setObjectName(QString::fromLatin1(entry.objectName));
  // A full field fills its columns of the header record exactly.
  field->setMaxLength(static_cast<int>(HeaderSpan(entry.field).width));
  caption->setBuddy(field);
  field->setAccessibleName(AccessibleFieldName(caption->text()));
  field->setAccessibleDescription(AccessibleFieldDescription(caption->text()));

  InputGuard::KeyRule keyRule;
  InputGuard::TextRule textRule;
  switch (entry.filter) {
    case Filter::Any:
      break;
    case Filter::Digits:
      keyRule = [](QChar typed, const QString&) -> std::optional<QChar> {
        return DigitsOnly(typed.unicode()) ? std::optional<QChar>(typed) : std::nullopt;
      };
      textRule = IsDigitsOnly;
      break;
    case Filter::InstallationType:
      keyRule = [](QChar typed, const QString& text) -> std::optional<QChar> {
        const KeyVerdict verdict = InstallationTypeFilter(typed.unicode(), text.toStdString());
        if (!verdict.accepted) return std::nullopt;
        return QChar(static_cast<char16_t>(verdict.stored));
      };
      // One E at most, among digits.
      textRule = [](const QString& text) {
        return text.count(QLatin1Char('E')) <= 1 &&
               IsDigitsOnly(QString(text).remove(QLatin1Char('E')));
      };
      break;
  }
  auto* guard = new InputGuard(field, keyRule, textRule);
  // Names and addresses are written in capitals; an e-mail address as typed.
  if (entry.filter == Filter::Any && entry.field != HeaderField::Email) guard->TakeCapitals();
  connect(guard, &InputGuard::typed, this, &FilerPanel::modified);
  connect(guard, &InputGuard::refused, this, [this] { dialogs_.Beep(); });
  connect(field, &QLineEdit::textChanged, this, &FilerPanel::changed);
  field->installEventFilter(this);

  caption->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  auto* layout = qobject_cast<QGridLayout*>(this->layout());
  layout->addWidget(caption, entry.row, entry.column, 1, entry.span);
  layout->addWidget(field, entry.row + 1, entry.column, 1, entry.span);
  fields_[static_cast<std::size_t>(entry.field)] = field;
  return field;
}

bool FilerPanel::eventFilter(QObject* watched, QEvent* event) {
  QLineEdit* const installationType =
      fields_[static_cast<std::size_t>(HeaderField::InstallationType)];
  if (watched == taxOfficeList_ && event->type() == QEvent::KeyPress) {
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.size() == 1 && InputGuard::IsTypedCharacter(text[0])) emit modified();
    return false;
  }
  if (event->type() == QEvent::FocusIn && watched == installationType) {
    QWidget* host = installationTypeNote_->parentWidget();
    // Just under the field, where it covers nothing the user is typing into.
    installationTypeNote_->move(
        installationType->mapTo(host, QPoint(0, installationType->height() + 2)));
    installationTypeNote_->raise();
    installationTypeNote_->show();
  }
  if (event->type() != QEvent::FocusOut) return false;
  if (watched == installationType) installationTypeNote_->hide();
  if (returningFocus_ || !IsUserLeavingField(static_cast<QFocusEvent*>(event))) return false;
  if (watched == fields_[static_cast<std::size_t>(HeaderField::Year)]) CheckYearOnLeaving();
  if (watched == fields_[static_cast<std::size_t>(HeaderField::TaxNumber)])
    CheckTaxNumberOnLeaving();
  return false;
}

void FilerPanel::Refuse(QLineEdit* field, const QString& message, bool beep) {
  // Back into the field first, so that the field the user was heading for
  // never counts as left.
  returningFocus_ = true;
  field->setFocus(Qt::OtherFocusReason);
  returningFocus_ = false;
  if (beep) dialogs_.Beep();
  dialogs_.ShowMessage(message);
}

void FilerPanel::CheckYearOnLeaving() {
  QLineEdit* year = fields_[static_cast<std::size_t>(HeaderField::Year)];
  if (!IsYearAcceptable(year->text().toStdString(), environment_.Today().year()))
    Refuse(year, QString::fromUtf8(kWrongYearMessage), true);
}

void FilerPanel::CheckTaxNumberOnLeaving() {
  QLineEdit* taxNumber = fields_[static_cast<std::size_t>(HeaderField::TaxNumber)];
  if (!IsValidTaxNumber(taxNumber->text().toStdString()))
    Refuse(taxNumber, QString::fromUtf8(kWrongFilerTaxNumberMessage), false);
}

void FilerPanel::FillHeaderFields(const HeaderFields& header) {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i]) fields_[i]->setText(FromCp1253(header[static_cast<HeaderField>(i)]));
  }
  const int office = FindTaxOfficeByCode(header.taxOfficeCode.bytes());
  taxOfficeList_->setCurrentIndex(office);
}

std::optional<HeaderFields> FilerPanel::CurrentHeader() const {
  HeaderFields header;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (!fields_[i]) continue;
    auto text = ToCp1253(fields_[i]->text());
    if (!text) return std::nullopt;
    header[static_cast<HeaderField>(i)] = std::move(*text);
  }
  if (taxOfficeList_->currentIndex() >= 0)
    header.taxOfficeCode = Cp1253Text(taxOfficeList_->currentData().toString().toStdString());
  return header;
}

Cp1253Text FilerPanel::TaxNumber() const {
  // The field admits digits only, which every code page holds.
  return ToCp1253(fields_[static_cast<std::size_t>(HeaderField::TaxNumber)]->text())
      .value_or(Cp1253Text());
}

bool FilerPanel::DebitInvoices() const { return debitInvoicesButton_->isChecked(); }

void FilerPanel::SetDebitInvoices(bool debit) {
  (debit ? debitInvoicesButton_ : creditBalancesButton_)->setChecked(true);
}

void FilerPanel::FocusField(FilerFocus field) {
  switch (field) {
    case FilerFocus::Year:
      fields_[static_cast<std::size_t>(HeaderField::Year)]->setFocus();
      break;
    case FilerFocus::TaxNumber:
      fields_[static_cast<std::size_t>(HeaderField::TaxNumber)]->setFocus();
      break;
    case FilerFocus::InstallationType:
      fields_[static_cast<std::size_t>(HeaderField::InstallationType)]->setFocus();
      break;
    case FilerFocus::TaxOffice:
      taxOfficeList_->setFocus();
      break;
    case FilerFocus::None:
      break;
  }
}

}  // namespace velmora
