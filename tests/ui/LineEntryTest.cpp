#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

QString Cell(RecordGrid* grid, int row, int column) {
  return grid->model()->index(row, column).data().toString();
}

}  // namespace

class LineEntryTest : public QObject {
  Q_OBJECT

 private slots:
  void refusalsKeepTheLinePendingOnBothSides();
  void totalsFollowEveryStoreAndDeletion();
  void columnFiltersFollowThePlaceOfTheColumn();
  void amountBoxesAndTotals();
};

void LineEntryTest::refusalsKeepTheLinePendingOnBothSides() {
  Fixture f;
  f.NewStatement();
  f.window->Filer->AFM->setText(QStringLiteral("123456783"));
  // Customers: the filer's own number comes first, then the check digit.
  RecordGrid* customers = f.window->TabSheet1->grid;
  f.TypeLine(customers, 0, QStringLiteral("123456783"), "0", "1", "5");
  QVERIFY(!customers->DoAction(RecordGrid::Action::Post));
  QCOMPARE(f.dialogs.messages.last(), Greek("O ΑΦΜ που εισάγατε είναι ίδιος με τον ΑΦΜ υπόχρεου."));
  QCOMPARE(f.dialogs.beeps, 1);
  QVERIFY(!f.window->LinePostOk);
  QCOMPARE(f.window->FixedFormatDataSet1.State(), DataSetState::Insert);
  // The refused line keeps what was typed, unnormalised.
  QCOMPARE(Cell(customers, 0, 9), QStringLiteral("5"));
  f.TypeIntoCell(customers, 0, 0, QStringLiteral("123456789"));
  QVERIFY(!customers->DoAction(RecordGrid::Action::Post));
  QCOMPARE(f.dialogs.messages.last(),
           Greek("Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή πελάτη"));
  f.TypeIntoCell(customers, 0, 3, QStringLiteral("1"));
  f.TypeIntoCell(customers, 0, 8, QStringLiteral("0"));
  QVERIFY(!customers->DoAction(RecordGrid::Action::Post));
  QCOMPARE(f.dialogs.messages.last(), Greek("Ο αριθμός τιμολογίων πρέπει να είναι >0 "));
  f.TypeIntoCell(customers, 0, 8, QStringLiteral("1"));
  f.TypeIntoCell(customers, 0, 9, QStringLiteral("12,345"));
  QVERIFY(customers->DoAction(RecordGrid::Action::Post));
  QVERIFY(f.window->LinePostOk);
  QCOMPARE(Cell(customers, 0, 9), QStringLiteral("12,35"));
  QCOMPARE(f.WorkingFile("record2").size(), 152);

  // A second new line with the same number and code is a duplicate; the other code is not.
  customers->DoAction(RecordGrid::Action::Append);
  f.TypeLine(customers, 1, QStringLiteral("123456789"), "1", "2", "0");
  QVERIFY(!customers->DoAction(RecordGrid::Action::Post));
  QCOMPARE(f.dialogs.messages.last(),
           Greek("Ο ΑΦΜ: 123456789 έχει εισαχθεί 2 φορές στους πελάτες με τον ίδιο κωδικό "
                 "υπόχρεου (1)"));
  // A pasted value that is no number is refused too, not stored unchecked.
  f.TypeIntoCell(customers, 1, 3, QStringLiteral("0"));
  f.TypeIntoCell(customers, 1, 0, QStringLiteral("094019245"));
  customers->Model()->setData(customers->model()->index(1, 9), QStringLiteral("1,2,3"),
                              Qt::EditRole);
  QVERIFY(!customers->DoAction(RecordGrid::Action::Post));
  QVERIFY(f.dialogs.messages.last().contains(Greek("η υποδιαστολή είναι το κόμμα")));
  f.TypeIntoCell(customers, 1, 9, QStringLiteral("0"));
  QVERIFY(customers->DoAction(RecordGrid::Action::Post));

  // Suppliers: no invoice count rule of their own, their own messages.
  f.window->PageControl1->setCurrentIndex(1);
  QCOMPARE(f.window->PageControl1->currentIndex(), 1);
  RecordGrid* suppliers = f.window->TabSheet2->grid;
  f.TypeLine(suppliers, 0, QStringLiteral("123456789"), "0", "0", "10");
  QVERIFY(!suppliers->DoAction(RecordGrid::Action::Post));
  QCOMPARE(f.dialogs.messages.last(),
           Greek("Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή προμηθευτή"));
  f.TypeIntoCell(suppliers, 0, 3, QStringLiteral("1"));
  QVERIFY(suppliers->DoAction(RecordGrid::Action::Post));
  QCOMPARE(f.WorkingFile("record4").left(1), QByteArray("4"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void LineEntryTest::totalsFollowEveryStoreAndDeletion() {
  Fixture f;
  f.NewStatement();
  RecordGrid* grid = f.window->TabSheet1->grid;
  const std::tuple<const char*, const char*, const char*> lines[] = {
      {"111111111", "2", "10,5"}, {"222222222", "3", "0"}, {"333333333", "5", "1,25"}};
  for (const auto& [taxNumber, invoices, value] : lines) {
    grid->setFocus();
    if (!grid->Model()->HasUntouchedNewRow()) grid->DoAction(RecordGrid::Action::Append);
    f.TypeLine(grid, grid->Model()->PendingInsertRow(), QString::fromLatin1(taxNumber), "1",
               QString::fromLatin1(invoices), QString::fromLatin1(value));
    QVERIFY(grid->DoAction(RecordGrid::Action::Post));
  }
  QCOMPARE(f.window->TabSheet1->invoiceTotal->text(), QStringLiteral("10"));
  QCOMPARE(f.window->TabSheet1->valueTotal->text(), QStringLiteral("11,75"));
  QCOMPARE(f.window->TabSheet1->countLabel->text(), Greek("3 Εγγραφές (Πελάτες)"));

  // "Όχι" leaves line and totals; "Ναι" deletes and recounts.
  f.dialogs.Expect(Greek("Είστε σίγουρος;"), Dialogs::Answer::No);
  f.window->TabSheet1->navigator->Click(RecordGrid::Action::Delete);
  QCOMPARE(f.window->TabSheet1->valueTotal->text(), QStringLiteral("11,75"));
  for (int i = 0; i < 3; ++i) {
    f.dialogs.Expect(Greek("Είστε σίγουρος;"), Dialogs::Answer::Yes);
    f.window->TabSheet1->navigator->Click(RecordGrid::Action::Delete);
  }
  QCOMPARE(f.window->TabSheet1->invoiceTotal->text(), QStringLiteral("0"));
  QCOMPARE(f.window->TabSheet1->valueTotal->text(), QStringLiteral("0,00"));
  QCOMPARE(f.window->TabSheet1->countLabel->text(), Greek("0 Εγγραφές (Πελάτες)"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void LineEntryTest::columnFiltersFollowThePlaceOfTheColumn() {
  Fixture f;
  f.NewStatement();
  RecordGrid* grid = f.window->TabSheet1->grid;
  const QString typed = QStringLiteral("1a0,5,");
  const QString kept[] = {"1a0,5,", "1a0,5,", "1a0,5,", "1",   "1a0,5,",
                          "1a0,5,", "1a0",    "105",    "105", "10,5"};
  for (int column = 0; column < 10; ++column) {
    f.TypeIntoCell(grid, 0, column, typed, false);
    QCOMPARE(grid->Editor()->text(), kept[column]);
    QTest::keyClick(grid->Editor(), Qt::Key_Escape);
  }
  // The obliged column's note shows while that column is selected.
  grid->setCurrentIndex(grid->model()->index(0, 3));
  QVERIFY(f.window->TabSheet1->obligationNote->isVisible());
  grid->setCurrentIndex(grid->model()->index(0, 4));
  QVERIFY(!f.window->TabSheet1->obligationNote->isVisible());

  // In the suppliers' grid a moved column takes the filter of its new place.
  f.window->PageControl1->setCurrentIndex(1);
  RecordGrid* suppliers = f.window->TabSheet2->grid;
  suppliers->horizontalHeader()->moveSection(9, 3);
  f.TypeIntoCell(suppliers, 0, 9, QStringLiteral("1,0"), false);
  QCOMPARE(suppliers->Editor()->text(), QStringLiteral("10"));
  QTest::keyClick(suppliers->Editor(), Qt::Key_Escape);
  // Ypovolh, pushed to place 4, has no filter left: only its width holds it.
  f.TypeIntoCell(suppliers, 0, 3, QStringLiteral("01"), false);
  QCOMPARE(suppliers->Editor()->text(), QStringLiteral("0"));
  QTest::keyClick(suppliers->Editor(), Qt::Key_Escape);
  // The column now at place 9 (the invoice count) takes the decimal filter.
  f.TypeIntoCell(suppliers, 0, 8, QStringLiteral("1,5,"), false);
  QCOMPARE(suppliers->Editor()->text(), QStringLiteral("1,5"));
}

void LineEntryTest::amountBoxesAndTotals() {
  Fixture f;
  f.NewStatement();
  QLineEdit* retail = f.window->TabSheet1->retailSales;
  const std::pair<const char*, const char*> cases[] = {
      {"7", "0"}, {"17", "17"}, {"3,456", "3,46"}, {"", "0"}, {"0,50", "0,5"}};
  for (const auto& [typed, left] : cases) {
    retail->clear();
    retail->setFocus();
    f.TypeInto(retail, QString::fromLatin1(typed));
    QTest::keyClick(retail, Qt::Key_Tab);
    QCOMPARE(retail->text(), QString::fromLatin1(left));
  }
  // A second comma and a point are refused with a beep.
  retail->clear();
  const int beeps = f.dialogs.beeps;
  f.TypeInto(retail, QStringLiteral("1,2,3.4"));
  QCOMPARE(retail->text(), QStringLiteral("1,234"));
  QCOMPARE(f.dialogs.beeps, beeps + 2);
  // The totals cannot be typed over.
  f.TypeInto(f.window->TabSheet1->invoiceTotal, QStringLiteral("9"));
  QVERIFY(f.window->TabSheet1->invoiceTotal->text().isEmpty());
  QCOMPARE(f.dialogs.beeps, beeps + 3);
}

QTEST_MAIN(LineEntryTest)
#include "LineEntryTest.moc"
