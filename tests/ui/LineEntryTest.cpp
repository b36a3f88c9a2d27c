#include <QHeaderView>
#include <QTabWidget>
#include <QClipboard>
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
  f.TypeInto(f.Box("taxNumberBox"), QStringLiteral("123456783"));
  // Customers: the filer's own number comes first, then the check digit.
  RecordGrid* customers = f.Grid(Side::Customers);
  f.TypeLine(customers, 0, QStringLiteral("123456783"), "0", "1", "5");
  QVERIFY(!f.StoreLine(Side::Customers));
  QCOMPARE(f.dialogs.messages.last(), Greek("O ΑΦΜ που εισάγατε είναι ίδιος με τον ΑΦΜ υπόχρεου."));
  QCOMPARE(f.dialogs.beeps, 1);
  QCOMPARE(f.WorkingFile("record2"), QByteArray());
  // The refused line keeps what was typed, unnormalised.
  QCOMPARE(Cell(customers, 0, 9), QStringLiteral("5"));
  f.TypeIntoCell(customers, 0, 0, QStringLiteral("123456789"));
  QVERIFY(!f.StoreLine(Side::Customers));
  QCOMPARE(f.dialogs.messages.last(),
           Greek("Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή πελάτη"));
  f.TypeIntoCell(customers, 0, 3, QStringLiteral("1"));
  f.TypeIntoCell(customers, 0, 8, QStringLiteral("0"));
  QVERIFY(!f.StoreLine(Side::Customers));
  QCOMPARE(f.dialogs.messages.last(), Greek("Ο αριθμός τιμολογίων πρέπει να είναι >0 "));
  f.TypeIntoCell(customers, 0, 8, QStringLiteral("1"));
  f.TypeIntoCell(customers, 0, 9, QStringLiteral("12,345"), false);
  QVERIFY(f.StoreLine(Side::Customers));
  QCOMPARE(Cell(customers, 0, 9), QStringLiteral("12,35"));
  QCOMPARE(f.WorkingFile("record2").size(), 152);

  // A second new line with the same number and code is a duplicate; the other code is not.
  f.TypeLine(customers, f.AppendLine(Side::Customers), QStringLiteral("123456789"), "1", "2", "0");
  QVERIFY(!f.StoreLine(Side::Customers));
  QCOMPARE(f.dialogs.messages.last(),
           Greek("Ο ΑΦΜ: 123456789 έχει εισαχθεί 2 φορές στους πελάτες με τον ίδιο κωδικό "
                 "υπόχρεου (1)"));
  // A pasted value that is no number is refused too, not stored unchecked.
  f.TypeIntoCell(customers, 1, 3, QStringLiteral("0"));
  f.TypeIntoCell(customers, 1, 0, QStringLiteral("094019245"));
  f.TypeIntoCell(customers, 1, 9, QString());
  f.Press(Qt::Key_F2);
  f.Paste(QStringLiteral("1,2,3"));
  QCOMPARE(customers->Editor()->text(), QStringLiteral("1,2,3"));
  QVERIFY(!f.StoreLine(Side::Customers));
  QVERIFY(f.dialogs.messages.last().contains(Greek("η υποδιαστολή είναι το κόμμα")));
  QCOMPARE(f.WorkingFile("record2").size(), 152);
  f.TypeIntoCell(customers, 1, 9, QStringLiteral("0"), false);
  QVERIFY(f.StoreLine(Side::Customers));
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("2 Εγγραφές (Πελάτες)"));

  // Suppliers: no invoice count rule of their own, their own messages.
  f.ShowPage(1);
  QCOMPARE(f.Find<QTabWidget>("pages")->currentIndex(), 1);
  RecordGrid* suppliers = f.Grid(Side::Suppliers);
  f.TypeLine(suppliers, 0, QStringLiteral("123456789"), "0", "0", "10");
  QVERIFY(!f.StoreLine(Side::Suppliers));
  QCOMPARE(f.dialogs.messages.last(),
           Greek("Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή προμηθευτή"));
  f.TypeIntoCell(suppliers, 0, 3, QStringLiteral("1"));
  QVERIFY(f.StoreLine(Side::Suppliers));
  QCOMPARE(f.WorkingFile("record4").left(1), QByteArray("4"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void LineEntryTest::totalsFollowEveryStoreAndDeletion() {
  Fixture f;
  f.NewStatement();
  const std::tuple<const char*, const char*, const char*> lines[] = {
      {"111111111", "2", "10,5"}, {"222222222", "3", "0"}, {"333333333", "5", "1,25"}};
  for (const auto& [taxNumber, invoices, value] : lines) {
    f.TypeLine(f.Grid(Side::Customers), f.AppendLine(Side::Customers),
               QString::fromLatin1(taxNumber), "1", QString::fromLatin1(invoices),
               QString::fromLatin1(value));
    QVERIFY(f.StoreLine(Side::Customers));
  }
  QLineEdit* invoiceTotal = f.Box("customerInvoiceTotalBox");
  QLineEdit* valueTotal = f.Box("customerValueTotalBox");
  QCOMPARE(invoiceTotal->text(), QStringLiteral("10"));
  QCOMPARE(valueTotal->text(), QStringLiteral("11,75"));
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("3 Εγγραφές (Πελάτες)"));
  // A total can be selected and copied, but neither deleted nor pasted over.
  for (QLineEdit* total : {invoiceTotal, valueTotal}) {
    const QString shown = total->text();
    total->setFocus();
    f.Press(Qt::Key_A, Qt::ControlModifier);
    f.Press(Qt::Key_Delete);
    f.Press(Qt::Key_Backspace);
    f.Paste(QStringLiteral("999"));
    QCOMPARE(total->text(), shown);
    f.Press(Qt::Key_A, Qt::ControlModifier);
    f.Press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), shown);
  }

  // "Όχι" leaves line and totals; "Ναι" deletes and recounts.
  f.DeleteCurrentLine(Side::Customers, Dialogs::Answer::No);
  QCOMPARE(valueTotal->text(), QStringLiteral("11,75"));
  f.DeleteCurrentLine(Side::Customers, Dialogs::Answer::Yes);
  QCOMPARE(invoiceTotal->text(), QStringLiteral("5"));
  QCOMPARE(valueTotal->text(), QStringLiteral("10,50"));
  for (int i = 0; i < 2; ++i) f.DeleteCurrentLine(Side::Customers, Dialogs::Answer::Yes);
  QCOMPARE(invoiceTotal->text(), QStringLiteral("0"));
  QCOMPARE(valueTotal->text(), QStringLiteral("0,00"));
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("0 Εγγραφές (Πελάτες)"));
  // Stores and deletions are no refusals: not one beep, New included.
  QCOMPARE(f.dialogs.beeps, 0);
  f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::No);
  f.NewStatement();
  QCOMPARE(f.dialogs.beeps, 0);
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void LineEntryTest::columnFiltersFollowThePlaceOfTheColumn() {
  Fixture f;
  f.NewStatement();
  RecordGrid* grid = f.Grid(Side::Customers);
  const QString typed = QStringLiteral("1a0,5,");
  const QString kept[] = {"1A0,5,", "1A0,5,", "1A0,5,", "1",   "1A0,5,",
                          "1A0,5,", "1A0",    "105",    "105", "10,5"};
  for (int column = 0; column < 10; ++column) {
    f.TypeIntoCell(grid, 0, column, typed, false);
    QCOMPARE(grid->Editor()->text(), kept[column]);
    f.Press(Qt::Key_Escape);
  }
  // The obliged column's note shows while that column is selected.
  QLabel* note = f.Label("customerObligationNote");
  f.TypeIntoCell(grid, 0, 3, QString());
  QVERIFY(note->isVisible());
  f.TypeIntoCell(grid, 0, 4, QString());
  QVERIFY(!note->isVisible());

  // In the suppliers' grid a moved column takes the filter of its new place.
  f.ShowPage(1);
  RecordGrid* suppliers = f.Grid(Side::Suppliers);
  suppliers->horizontalHeader()->moveSection(9, 3);
  f.TypeIntoCell(suppliers, 0, 9, QStringLiteral("1,0"), false);
  QCOMPARE(suppliers->Editor()->text(), QStringLiteral("10"));
  f.Press(Qt::Key_Escape);
  // The obliged column, pushed to place 4, has no filter left: only its width holds it.
  f.TypeIntoCell(suppliers, 0, 3, QStringLiteral("01"), false);
  QCOMPARE(suppliers->Editor()->text(), QStringLiteral("0"));
  f.Press(Qt::Key_Escape);
  // The column now at place 9 (the invoice count) takes the decimal filter.
  f.TypeIntoCell(suppliers, 0, 8, QStringLiteral("1,5,"), false);
  QCOMPARE(suppliers->Editor()->text(), QStringLiteral("1,5"));
}

void LineEntryTest::amountBoxesAndTotals() {
  Fixture f;
  f.NewStatement();
  QLineEdit* retail = f.Box("retailSalesBox");
  const std::pair<const char*, const char*> cases[] = {
      {"7", "7"}, {"17", "17"}, {"3,456", "3,46"}, {"", "0"}, {"0,50", "0,5"}};
  for (const auto& [typed, left] : cases) {
    f.Retype(retail, QString::fromLatin1(typed));
    f.Press(Qt::Key_Tab);
    QCOMPARE(retail->text(), QString::fromLatin1(left));
  }
  // A second comma and a point are refused with a beep.
  const int beeps = f.dialogs.beeps;
  f.Retype(retail, QStringLiteral("1,2,3.4"));
  QCOMPARE(retail->text(), QStringLiteral("1,234"));
  QCOMPARE(f.dialogs.beeps, beeps + 2);
  // No more whole digits than the file holds (14), refused as they are typed;
  // the decimals still fit after them.
  f.Retype(retail, QStringLiteral("1234567890123456,78"));
  QCOMPARE(retail->text(), QStringLiteral("12345678901234,78"));
  QCOMPARE(f.dialogs.beeps, beeps + 4);
  f.Press(Qt::Key_Tab);
  QCOMPARE(retail->text(), QStringLiteral("12345678901234,78"));
  // The totals cannot be typed over.
  f.TypeInto(f.Box("customerInvoiceTotalBox"), QStringLiteral("9"));
  QVERIFY(f.Box("customerInvoiceTotalBox")->text().isEmpty());
}

QTEST_MAIN(LineEntryTest)
#include "LineEntryTest.moc"
