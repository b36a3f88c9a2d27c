#include <QApplication>
#include <QComboBox>
#include <QTest>

#include "FilerPanel.h"
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
  f.Retype(f.Box("yearBox"), year);
  f.Press(Qt::Key_Tab);
}

}  // namespace

class FilerPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void yearIsCheckedWhenLeft();
  void filerTaxNumberIsCheckedWhenLeft();
  void digitFieldsTakeDigitsOnly();
  void installationTypeFilterAndNote();
  void officeChoiceIsKeptAtOnce();
  void fillingFromTheHeaderLine();
  void fieldsHoldNoMoreThanTheirColumns();
};

void FilerPanelTest::yearIsCheckedWhenLeft() {
  Fixture f;
  f.NewStatement();
  QLineEdit* year = f.Box("yearBox");
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
  QLineEdit* taxNumber = f.Box("taxNumberBox");
  taxNumber->setFocus();
  f.Press(Qt::Key_Tab);
  // No beep here, and the next field never counts as left.
  QCOMPARE(f.dialogs.messages, QStringList({Greek("Λάθος ΑΦΜ Υπόχρεου")}));
  QCOMPARE(f.dialogs.beeps, 0);
  QCOMPARE(QApplication::focusWidget(), taxNumber);

  f.dialogs.messages.clear();
  f.TypeInto(taxNumber, QStringLiteral("123456789"));
  f.Press(Qt::Key_Tab);
  QCOMPARE(f.dialogs.messages.size(), 1);
  QCOMPARE(QApplication::focusWidget(), taxNumber);

  f.dialogs.messages.clear();
  f.Retype(taxNumber, QStringLiteral("123456783"));
  f.Press(Qt::Key_Tab);
  QVERIFY(f.dialogs.messages.isEmpty());
  QCOMPARE(QApplication::focusWidget(), f.Box("professionBox"));
}

void FilerPanelTest::digitFieldsTakeDigitsOnly() {
  Fixture f;
  f.NewStatement();
  // (The year and the tax number share the filter; leaving them is checked apart.)
  for (const char* name : {"fileNumberBox", "postCodeBox", "telephoneBox", "faxBox"}) {
    QLineEdit* field = f.Box(name);
    const int beeps = f.dialogs.beeps;
    f.TypeInto(field, QStringLiteral("1a,2 -"));
    QCOMPARE(field->text(), QStringLiteral("12"));
    QCOMPARE(f.dialogs.beeps, beeps + 4);
    // Delete, with the DEL character a keyboard gives it, edits and never beeps.
    f.Press(Qt::Key_Home);
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
    QCOMPARE(field->text(), QStringLiteral("2"));
    QCOMPARE(f.dialogs.beeps, beeps + 4);
    // Pasted text is held to the same rule.
    f.Retype(field, QString());
    f.Paste(QStringLiteral("9x"));
    QVERIFY(field->text().isEmpty());
    f.Paste(QStringLiteral("98"));
    QCOMPARE(field->text(), QStringLiteral("98"));
  }
  // Free text fields take Greek, in capitals, but nothing outside the Greek code page.
  f.TypeInto(f.Box("companyNameBox"), Greek("Άλφα € ä"));
  QCOMPARE(f.Box("companyNameBox")->text(), Greek("ΆΛΦΑ € "));
  f.Box("townBox")->setFocus();
  f.Paste(Greek("Αθήνα中"));
  QVERIFY(f.Box("townBox")->text().isEmpty());
}

void FilerPanelTest::installationTypeFilterAndNote() {
  Fixture f;
  f.NewStatement();
  QLineEdit* field = f.Box("installationTypeBox");
  QLabel* note = f.Label("installationTypeNote");
  QVERIFY(!note->isVisible());
  field->setFocus();
  QVERIFY(note->isVisible());
  QVERIFY(note->text().contains(Greek("- 0 (μηδέν) μόνο της έδρας")));

  // The Greek capital Epsilon is stored as the Latin E; a second E is refused.
  f.Type(Greek("Ε"));
  QCOMPARE(field->text(), QStringLiteral("E"));
  f.Type(QStringLiteral("Ee"));
  QCOMPARE(field->text(), QStringLiteral("E"));
  QCOMPARE(f.dialogs.beeps, 2);
  f.Retype(field, QStringLiteral("01"));
  QCOMPARE(field->text(), QStringLiteral("01"));

  f.Box("emailBox")->setFocus();
  QVERIFY(!note->isVisible());
}

void FilerPanelTest::officeChoiceIsKeptAtOnce() {
  Fixture f;
  f.NewStatement();
  auto* names = f.Find<QComboBox>("taxOfficeList");
  QCOMPARE(names->count(), 288);
  QVERIFY(!f.statement->Modified());
  f.ChooseTaxOffice(Greek("ΑΘΗΝΩΝ Δ'"));
  QCOMPARE(names->currentText(), Greek("ΑΘΗΝΩΝ Δ'"));
  QVERIFY(f.statement->Modified());
  QCOMPARE(f.Find<FilerPanel>("filerPanel")->CurrentHeader()->taxOfficeCode.bytes(),
           std::string("1104"));
  // What a crash at this moment leaves for recovery holds the office just chosen.
  QVERIFY(f.WorkingFile("form").contains("1104"));
}

void FilerPanelTest::fillingFromTheHeaderLine() {
  Fixture f;
  f.NewStatement();
  HeaderFields header;
  header.year = Cp1253Text("2008");
  header.taxOfficeCode = Cp1253Text("1101");
  header.companyName = Cp1253Text("\xC1\xCB\xD6\xC1");  // ΑΛΦΑ
  header.taxNumber = Cp1253Text("123456783");
  header.telephone = Cp1253Text("2101234567");
  header.installationType = Cp1253Text("E");
  auto* filer = f.Find<FilerPanel>("filerPanel");
  filer->FillHeaderFields(ParseHeaderLine(ComposeHeaderLine(header)));
  QCOMPARE(f.Box("yearBox")->text(), QStringLiteral("2008"));
  QCOMPARE(f.Find<QComboBox>("taxOfficeList")->currentText(), Greek("ΑΘΗΝΩΝ Α'"));
  QCOMPARE(f.Find<QComboBox>("taxOfficeList")->currentData().toString(), QStringLiteral("1101"));
  QCOMPARE(f.Box("companyNameBox")->text(), Greek("ΑΛΦΑ"));
  QCOMPARE(f.Box("taxNumberBox")->text(), QStringLiteral("123456783"));
  QCOMPARE(f.Box("telephoneBox")->text(), QStringLiteral("2101234567"));
  QCOMPARE(f.Box("installationTypeBox")->text(), QStringLiteral("E"));
  QCOMPARE(filer->CurrentHeader()->companyName.bytes(), header.companyName.bytes());

  // An unknown office code leaves the list without a selection; an empty line empties all.
  header.taxOfficeCode = Cp1253Text("9999");
  filer->FillHeaderFields(ParseHeaderLine(ComposeHeaderLine(header)));
  QCOMPARE(f.Find<QComboBox>("taxOfficeList")->currentIndex(), -1);
  filer->FillHeaderFields(ParseHeaderLine(""));
  QVERIFY(f.Box("yearBox")->text().isEmpty());
  QVERIFY(f.Box("companyNameBox")->text().isEmpty());
}

void FilerPanelTest::fieldsHoldNoMoreThanTheirColumns() {
  Fixture f;
  f.NewStatement();
  const std::pair<const char*, int> limits[] = {{"yearBox", 4},
                                                {"fileNumberBox", 6},
                                                {"companyNameBox", 18},
                                                {"taxNumberBox", 9},
                                                {"professionBox", 16},
                                                {"townBox", 10},
                                                {"streetBox", 16},
                                                {"streetNumberBox", 3},
                                                {"postCodeBox", 5},
                                                {"telephoneBox", 10},
                                                {"faxBox", 10},
                                                {"emailBox", 34},
                                                {"installationTypeBox", 4}};
  for (const auto& [name, width] : limits) {
    f.TypeInto(f.Box(name), QString(40, QLatin1Char('7')));
    QCOMPARE(f.Box(name)->text().size(), width);
  }
}

QTEST_MAIN(FilerPanelTest)
#include "FilerPanelTest.moc"
