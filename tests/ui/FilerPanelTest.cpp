#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "HeaderLine.h"
#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kYearMessage = Greek(
    "Γράψτε το έτος που αφορούν τα στοιχεία, με τέσσερα ψηφία, από 2005 έως σήμερα. Για δηλώσεις "
    "ετών πριν το 2005, κατεβάστε την προηγούμενη έκδοση του προγράμματος");

// Types the year and leaves the field with Tab, as a user does.
void LeaveYear(Fixture& f, const QString& year) {
  QLineEdit* field = f.window->Filer->YearOfData;
  field->clear();
  field->setFocus();
  f.TypeInto(field, year);
  QTest::keyClick(field, Qt::Key_Tab);
}

}  // namespace

class FilerPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void yearIsCheckedWhenLeft();
  void filerTaxNumberIsCheckedWhenLeft();
  void digitFieldsTakeDigitsOnly();
  void installationTypeFilterAndNote();
  void officeChoiceKeepsTheCodeList();
  void fillingFromTheHeaderLine();
  void fieldsHoldNoMoreThanTheirColumns();
};

void FilerPanelTest::yearIsCheckedWhenLeft() {
  Fixture f;
  f.NewStatement();
  QLineEdit* year = f.window->Filer->YearOfData;
  // Wrong years keep the focus in the field, with a beep and the message.
  for (const QString& wrong : {QStringLiteral("2004"), QStringLiteral("2025"), QString()}) {
    f.dialogs.messages.clear();
    const int beeps = f.dialogs.beeps;
    LeaveYear(f, wrong);
    QCOMPARE(f.dialogs.messages, QStringList({kYearMessage}));
    QCOMPARE(f.dialogs.beeps, beeps + 1);
    QCOMPARE(QApplication::focusWidget(), year);
    QCOMPARE(year->text(), wrong);
  }
  // 2005 and the current year (the test's date is in 2024) pass.
  for (const QString& right : {QStringLiteral("2005"), QStringLiteral("2024")}) {
    f.dialogs.messages.clear();
    LeaveYear(f, right);
    QVERIFY(f.dialogs.messages.isEmpty());
    QVERIFY(QApplication::focusWidget() != year);
  }
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void FilerPanelTest::filerTaxNumberIsCheckedWhenLeft() {
  Fixture f;
  f.NewStatement();
  QLineEdit* taxNumber = f.window->Filer->AFM;
  taxNumber->setFocus();
  QTest::keyClick(taxNumber, Qt::Key_Tab);
  // No beep here, and the next field never counts as left.
  QCOMPARE(f.dialogs.messages, QStringList({Greek("Λάθος ΑΦΜ Υπόχρεου")}));
  QCOMPARE(f.dialogs.beeps, 0);
  QCOMPARE(QApplication::focusWidget(), taxNumber);

  f.dialogs.messages.clear();
  f.TypeInto(taxNumber, QStringLiteral("123456789"));
  QTest::keyClick(taxNumber, Qt::Key_Tab);
  QCOMPARE(f.dialogs.messages.size(), 1);
  QCOMPARE(QApplication::focusWidget(), taxNumber);

  f.dialogs.messages.clear();
  taxNumber->clear();
  f.TypeInto(taxNumber, QStringLiteral("123456783"));
  QTest::keyClick(taxNumber, Qt::Key_Tab);
  QVERIFY(f.dialogs.messages.isEmpty());
  QCOMPARE(QApplication::focusWidget(), f.window->Filer->AntikeimenoErgasion);
}

void FilerPanelTest::digitFieldsTakeDigitsOnly() {
  Fixture f;
  f.NewStatement();
  FilerPanel* filer = f.window->Filer;
  // (The year and the tax number share the filter; leaving them is checked apart.)
  for (QLineEdit* field : {filer->Edit1, filer->TK, filer->Tel, filer->Fax}) {
    const int beeps = f.dialogs.beeps;
    f.TypeInto(field, QStringLiteral("1a,2 -"));
    QCOMPARE(field->text(), QStringLiteral("12"));
    QCOMPARE(f.dialogs.beeps, beeps + 4);
    // Pasted text is held to the same rule.
    field->clear();
    field->insert(QStringLiteral("9x"));
    QVERIFY(field->text().isEmpty());
    field->insert(QStringLiteral("98"));
    QCOMPARE(field->text(), QStringLiteral("98"));
    field->clear();
  }
  // Free text fields take Greek, but nothing outside the Greek code page.
  f.TypeInto(filer->CompanyName, Greek("Άλφα € ä"));
  QCOMPARE(filer->CompanyName->text(), Greek("Άλφα € "));
  filer->Town->insert(Greek("Αθήνα中"));
  QVERIFY(filer->Town->text().isEmpty());
}

void FilerPanelTest::installationTypeFilterAndNote() {
  Fixture f;
  f.NewStatement();
  QLineEdit* field = f.window->Filer->Egatastash;
  QLabel* note = f.window->Filer->EgatastashNote;
  QVERIFY(!note->isVisible());
  field->setFocus();
  QVERIFY(note->isVisible());
  QVERIFY(note->text().contains(Greek("- 0 (μηδέν) μόνο της έδρας")));

  // The Greek capital Epsilon is stored as the Latin E; a second E is refused.
  f.TypeInto(field, Greek("Ε"));
  QCOMPARE(field->text(), QStringLiteral("E"));
  f.TypeInto(field, QStringLiteral("Ee"));
  QCOMPARE(field->text(), QStringLiteral("E"));
  QCOMPARE(f.dialogs.beeps, 2);
  field->clear();
  f.TypeInto(field, QStringLiteral("01"));
  QCOMPARE(field->text(), QStringLiteral("01"));

  f.window->Filer->email->setFocus();
  QVERIFY(!note->isVisible());
}

void FilerPanelTest::officeChoiceKeepsTheCodeList() {
  Fixture f;
  f.NewStatement();
  QComboBox* names = f.window->Filer->ComboBox1;
  QCOMPARE(names->count(), 288);
  QCOMPARE(f.window->Filer->DOYCodes->count(), 288);
  const int athensA = names->findText(Greek("ΑΘΗΝΩΝ Α'"));
  QVERIFY(athensA >= 0);
  QVERIFY(!f.window->StatementModified);
  names->setFocus();
  names->setCurrentIndex(athensA);
  emit names->activated(athensA);
  QCOMPARE(f.window->Filer->DOYCodes->currentText(), QStringLiteral("1101"));
  QVERIFY(f.window->StatementModified);
  QCOMPARE(f.window->Filer->CurrentHeader().taxOfficeCode, std::string("1101"));
}

void FilerPanelTest::fillingFromTheHeaderLine() {
  Fixture f;
  f.NewStatement();
  HeaderFields header;
  header.year = "2008";
  header.taxOfficeCode = "1101";
  header.companyName = "\xC1\xCB\xD6\xC1";  // ΑΛΦΑ
  header.taxNumber = "123456783";
  header.telephone = "2101234567";
  header.installationType = "E";
  f.window->Filer->FillHeaderFields(ParseHeaderLine(ComposeHeaderLine(header)));
  FilerPanel* filer = f.window->Filer;
  QCOMPARE(filer->YearOfData->text(), QStringLiteral("2008"));
  QCOMPARE(filer->ComboBox1->currentText(), Greek("ΑΘΗΝΩΝ Α'"));
  QCOMPARE(filer->DOYCodes->currentText(), QStringLiteral("1101"));
  QCOMPARE(filer->CompanyName->text(), Greek("ΑΛΦΑ"));
  QCOMPARE(filer->AFM->text(), QStringLiteral("123456783"));
  QCOMPARE(filer->Egatastash->text(), QStringLiteral("E"));
  QCOMPARE(filer->CurrentHeader().companyName, header.companyName);

  // An unknown office code leaves both lists without a selection; an empty line empties all.
  header.taxOfficeCode = "9999";
  filer->FillHeaderFields(ParseHeaderLine(ComposeHeaderLine(header)));
  QCOMPARE(filer->ComboBox1->currentIndex(), -1);
  QCOMPARE(filer->DOYCodes->currentIndex(), -1);
  filer->FillHeaderFields(ParseHeaderLine(""));
  QVERIFY(filer->YearOfData->text().isEmpty());
  QVERIFY(filer->CompanyName->text().isEmpty());
}

void FilerPanelTest::fieldsHoldNoMoreThanTheirColumns() {
  Fixture f;
  f.NewStatement();
  FilerPanel* filer = f.window->Filer;
  const std::pair<QLineEdit*, int> limits[] = {{filer->YearOfData, 4},
                                               {filer->Edit1, 6},
                                               {filer->CompanyName, 18},
                                               {filer->AFM, 9},
                                               {filer->AntikeimenoErgasion, 16},
                                               {filer->Town, 10},
                                               {filer->Street, 16},
                                               {filer->Number, 3},
                                               {filer->TK, 5},
                                               {filer->Tel, 10},
                                               {filer->Fax, 10},
                                               {filer->email, 34},
                                               {filer->Egatastash, 4}};
  for (const auto& [field, width] : limits) {
    f.TypeInto(field, QString(40, QLatin1Char('7')));
    QCOMPARE(field->text().size(), width);
  }
}

QTEST_MAIN(FilerPanelTest)
#include "FilerPanelTest.moc"
