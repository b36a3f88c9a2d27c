#include <QDockWidget>
#include <QTest>
#include <QTreeWidget>

#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

class ProblemsTest : public QObject {
  Q_OBJECT

 private slots:
  void theCheckListsEveryProblemAndLeadsToIt();
};

void ProblemsTest::theCheckListsEveryProblemAndLeadsToIt() {
  Fixture f;
  f.TypeStatement();
  // The filer's number made that of the customer's and the supplier's first
  // lines, and no year: five problems where a save names one.
  f.Retype(f.Box("taxNumberBox"), QStringLiteral("094019245"));
  f.Retype(f.Box("yearBox"), QString());
  f.Activate();
  f.Press(Qt::Key_E, Qt::ControlModifier);

  auto* panel = f.Find<QDockWidget>("problemsPanel");
  auto* list = f.Find<QTreeWidget>("problemsList");
  QVERIFY(panel->isVisible());
  QCOMPARE(panel->windowTitle(), Greek("Προβλήματα της δήλωσης (5)"));
  QStringList rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list->topLevelItem(i);
    rows << item->text(0) + '|' + item->text(1) + '|' + item->text(2) + '|' +
                item->text(3).left(24);
  }
  QCOMPARE(rows, QStringList({Greek("Στοιχεία υπόχρεου||Έτος|Η αποθήκευση σε αρχείο α"),
                              Greek("ΠΕΛΑΤΕΣ|1|ΑΦΜ|O ΑΦΜ που εισάγατε είναι"),
                              Greek("ΠΕΛΑΤΕΣ|1|ΑΦΜ|Η αποθήκευση σε αρχείο α"),
                              Greek("ΠΡΟΜΗΘΕΥΤΕΣ|1|ΑΦΜ|O ΑΦΜ που εισάγατε είναι"),
                              Greek("ΠΡΟΜΗΘΕΥΤΕΣ|1|ΑΦΜ|Η αποθήκευση σε αρχείο α")}));
  QVERIFY(f.dialogs.messages.isEmpty());

  // Enter on a problem of the customers' page, seen from the suppliers' page,
  // goes to its cell; on the filer's problem, to the year.
  QVERIFY(list->hasFocus());
  f.Press(Qt::Key_Down);
  f.Press(Qt::Key_Return);
  RecordGrid* customers = f.Grid(Side::Customers);
  QVERIFY(customers->isVisible());
  QVERIFY(customers->hasFocus());
  QCOMPARE(customers->currentIndex().row(), 0);
  QCOMPARE(customers->currentIndex().column(), 0);
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(0));
  f.Press(Qt::Key_Return);
  QVERIFY(f.Box("yearBox")->hasFocus());

  // Mended, the check says so in the same list.
  f.Retype(f.Box("yearBox"), QStringLiteral("2008"));
  f.Retype(f.Box("taxNumberBox"), QStringLiteral("123456783"));
  f.Press(Qt::Key_E, Qt::ControlModifier);
  QCOMPARE(list->topLevelItemCount(), 1);
  QCOMPARE(list->topLevelItem(0)->text(3), Greek("Δεν βρέθηκαν προβλήματα."));
  QCOMPARE(panel->windowTitle(), Greek("Προβλήματα της δήλωσης (0)"));
}

QTEST_MAIN(ProblemsTest)
#include "ProblemsTest.moc"
