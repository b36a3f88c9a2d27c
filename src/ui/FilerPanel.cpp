#include "FilerPanel.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

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

FilerPanel::FilerPanel(Dialogs& dialogs, Environment& environment, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), environment_(environment) {
  setObjectName(QStringLiteral("FilerPanel"));
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);

  // Created in tab order; each caption stands over its field.
  YearOfData =
      AddField("YearOfData", "Έτος που αφορούν\nτα στοιχεία: (*)", 4, Filter::Digits, 0, 0);

  auto* officeLabel = new QLabel(QStringLiteral("ΔΟΥ: (*) "), this);
  officeLabel->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  DOYCodes = new QComboBox(this);
  DOYCodes->setObjectName(QStringLiteral("DOYCodes"));
  DOYCodes->hide();
  for (const TaxOffice& office : TaxOffices()) {
    ComboBox1->addItem(QString::fromUtf8(office.name));
    DOYCodes->addItem(QString::fromLatin1(office.code));
  }
  ComboBox1->setMaxVisibleItems(20);
  officeLabel->setBuddy(ComboBox1);
  ComboBox1->setAccessibleName(QStringLiteral("ΔΟΥ"));
  ComboBox1->installEventFilter(this);
  connect(ComboBox1, &QComboBox::activated, this, [this](int index) {
    DOYCodes->setCurrentIndex(index);
    Modified();
  });
  grid->addWidget(officeLabel, 0, 1, 1, 2);
  grid->addWidget(ComboBox1, 1, 1, 1, 2);

  Edit1 = AddField("Edit1", "Αριθμός Φακέλου\n(για τις ΑΕ):", 6, Filter::Digits, 0, 3);
  CompanyName = AddField("CompanyName", "Επωνυμία Επιχείρησης: (*)", 18, Filter::Any, 0, 4);
  AFM = AddField("AFM", "ΑΦΜ: (*) ", 9, Filter::Digits, 0, 5);
  AntikeimenoErgasion = AddField("AntikeimenoErgasion", "Αντικείμενο Εργασιών (Επάγγελμα): (*)", 16,
                                 Filter::Any, 2, 0, 2);
  Town = AddField("Town", "Διεύθυνση - Πόλη:", 10, Filter::Any, 2, 2);
  Street = AddField("Street", "Οδός:", 16, Filter::Any, 2, 3);
  Number = AddField("Number", "Αριθμός:", 3, Filter::Any, 2, 4);
  TK = AddField("TK", "Τ.Κ.:", 5, Filter::Digits, 2, 5);
  Tel = AddField("Tel", "Τηλέφωνο:", 10, Filter::Digits, 4, 0);
  Fax = AddField("Fax", "Φαξ:", 10, Filter::Digits, 4, 1);
  email = AddField("email", "Email:", 34, Filter::Any, 4, 2, 2);
  Egatastash =
      AddField("Egatastash", "Είδος Εγκατάστασης: (*) ", 4, Filter::InstallationType, 4, 4);

  auto* mandatory = new QLabel(QStringLiteral("(*) Υποχρεωτικά Στοιχεία"), this);
  QFont bold = mandatory->font();
  bold.setBold(true);
  mandatory->setFont(bold);
  grid->addWidget(mandatory, 5, 5, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);

  // Shown by the installation type while it has the focus, over whatever lies there.
  EgatastashNote = new QLabel(QStringLiteral("- Ε συνολικά για την έδρα και τα \n"
                                             "υποκαταστήματα\n"
                                             "- 0 (μηδέν) μόνο της έδρας\n"
                                             "- Αριθμός εγκατάστασης μητρώου Pellion για \n"
                                             "υποκατάστημα"),
                              parent ? parent : this);
  EgatastashNote->setObjectName(QStringLiteral("EgatastashNote"));
  EgatastashNote->setStyleSheet(
      QStringLiteral("QLabel { background: #fffbe6; color: #1f3a93; border: 1px solid #c9b458; "
                     "padding: 4px; }"));
  EgatastashNote->adjustSize();
  EgatastashNote->hide();

  RadioButton1 = new QRadioButton(QStringLiteral("Χρεωστικά Τιμολόγια"), this);
  RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
  RadioButton2 = new QRadioButton(QStringLiteral("Πιστωτικά Υπόλοιπα"), this);
  RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
  RadioButton1->setChecked(true);
  connect(RadioButton1, &QRadioButton::clicked, this, [this] { Modified(); });
  connect(RadioButton2, &QRadioButton::clicked, this, [this] { Modified(); });
  auto* kinds = new QVBoxLayout;
  kinds->addWidget(RadioButton1);
  kinds->addWidget(RadioButton2);
  grid->addLayout(kinds, 0, 6, 3, 1, Qt::AlignTop);
  for (int column = 0; column < 7; ++column) grid->setColumnStretch(column, 1);
}

QLineEdit* FilerPanel::AddField(const char* name, const char* label, int maxLength, Filter filter,
                                int row, int column, int span) {
  auto* caption = new QLabel(QString::fromUtf8(label), this);
  auto* field = new QLineEdit(this);
  field->setObjectName(QString::fromLatin1(name));
  field->setMaxLength(maxLength);
  caption->setBuddy(field);
  field->setAccessibleName(caption->text().simplified());

  InputGuard::KeyRule keyRule;
  InputGuard::TextRule textRule;
  switch (filter) {
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
  new InputGuard(
      field, keyRule, textRule, [this] { Modified(); }, [this] { dialogs_.Beep(); });
  field->installEventFilter(this);

  caption->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  auto* layout = static_cast<QGridLayout*>(this->layout());
  layout->addWidget(caption, row, column, 1, span);
  layout->addWidget(field, row + 1, column, 1, span);
  return field;
}

bool FilerPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ComboBox1 && event->type() == QEvent::KeyPress) {
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.size() == 1 && InputGuard::IsTypedCharacter(text[0])) Modified();
    return false;
  }
  if (event->type() == QEvent::FocusIn && watched == Egatastash) {
    QWidget* host = EgatastashNote->parentWidget();
    // Just under the field, where it covers nothing the user is typing into.
    EgatastashNote->move(Egatastash->mapTo(host, QPoint(0, Egatastash->height() + 2)));
    EgatastashNote->raise();
    EgatastashNote->show();
  }
  if (event->type() != QEvent::FocusOut) return false;
  if (watched == Egatastash) EgatastashNote->hide();
  if (returningFocus_ || !IsUserLeavingField(static_cast<QFocusEvent*>(event))) return false;
  if (watched == YearOfData) YearOfDataExit();
  if (watched == AFM) AFMExit();
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

void FilerPanel::YearOfDataExit() {
  if (!IsYearAcceptable(YearOfData->text().toStdString(), environment_.Today().year()))
    Refuse(YearOfData, QString::fromUtf8(kWrongYearMessage), true);
}

void FilerPanel::AFMExit() {
  if (!CheckAFM(AFM->text().toStdString()))
    Refuse(AFM, QString::fromUtf8(kWrongFilerAfmMessage), false);
}

void FilerPanel::Modified() {
  if (OnModified) OnModified();
}

void FilerPanel::FillHeaderFields(const HeaderFields& header) {
  YearOfData->setText(FromCp1253(header.year));
  const int office = FindTaxOfficeByCode(header.officeCode);
  ComboBox1->setCurrentIndex(office);
  DOYCodes->setCurrentIndex(office);
  Edit1->setText(FromCp1253(header.fileNumber));
  CompanyName->setText(FromCp1253(header.companyName));
  AFM->setText(FromCp1253(header.afm));
  AntikeimenoErgasion->setText(FromCp1253(header.profession));
  Town->setText(FromCp1253(header.town));
  Street->setText(FromCp1253(header.street));
  Number->setText(FromCp1253(header.number));
  TK->setText(FromCp1253(header.tk));
  Tel->setText(FromCp1253(header.tel));
  Fax->setText(FromCp1253(header.fax));
  email->setText(FromCp1253(header.email));
  Egatastash->setText(FromCp1253(header.installationType));
}

HeaderFields FilerPanel::CurrentHeader() const {
  HeaderFields header;
  header.year = ToCp1253Lossless(YearOfData->text());
  const int office = DOYCodes->currentIndex();
  header.officeCode = office >= 0 ? DOYCodes->itemText(office).toStdString() : std::string();
  header.fileNumber = ToCp1253Lossless(Edit1->text());
  header.companyName = ToCp1253Lossless(CompanyName->text());
  header.afm = ToCp1253Lossless(AFM->text());
  header.profession = ToCp1253Lossless(AntikeimenoErgasion->text());
  header.town = ToCp1253Lossless(Town->text());
  header.street = ToCp1253Lossless(Street->text());
  header.number = ToCp1253Lossless(Number->text());
  header.tk = ToCp1253Lossless(TK->text());
  header.tel = ToCp1253Lossless(Tel->text());
  header.fax = ToCp1253Lossless(Fax->text());
  header.email = ToCp1253Lossless(email->text());
  header.installationType = ToCp1253Lossless(Egatastash->text());
  return header;
}

void FilerPanel::ClearOffice() {
  ComboBox1->setCurrentIndex(-1);
  DOYCodes->setCurrentIndex(-1);
}

int FilerPanel::OfficeIndex() const { return ComboBox1->currentIndex(); }

bool FilerPanel::DebitInvoices() const { return RadioButton1->isChecked(); }

void FilerPanel::SetDebitInvoices(bool debit) {
  (debit ? RadioButton1 : RadioButton2)->setChecked(true);
}

}  // namespace velmora
