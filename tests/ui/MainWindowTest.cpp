#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

const char* const kStatementFiles[] = {"generalData", "record2", "record3", "record4", "record5"};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startAndCloseWithoutChanges();
  void newStatement();
  void closeQuestionAnswers();
  void newOffersTheUnsavedChangesFirst();
  void typingAnywhereMarksTheStatement();
  void typedLinesReachTheWorkingFiles();
  void pageSwitchingStoresThePendingLine();
};

void MainWindowTest::startAndCloseWithoutChanges() {
  Fixture f;
  const QString folder = f.WorkingFolder();
  QVERIFY(QFileInfo(folder).isDir());
  QVERIFY(f.Find<QWidget>("startPanel")->isVisible());
  QVERIFY(!f.Action("saveAsAction")->isEnabled());
  QVERIFY(f.Action("newAction")->isEnabled());
  QVERIFY(f.Action("openAction")->isEnabled());
  // Nothing of a statement can be reached before one exists, nor is any file created.
  QVERIFY(!f.Find<QWidget>("filerPanel")->isEnabled());
  QVERIFY(!f.Find<QWidget>("pages")->isEnabled());
  QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 0);

  QVERIFY(f.Exit());
  QVERIFY(f.dialogs.Problems().isEmpty());
  QVERIFY(!QFileInfo::exists(folder));
}

void MainWindowTest::newStatement() {
  Fixture f;
  // "Όχι" leaves the start panel where it was.
  f.dialogs.Expect(Greek("Δημιουργία νέου αρχείου;"), Dialogs::Answer::No);
  f.Action("newAction")->trigger();
  QVERIFY(f.Find<QWidget>("startPanel")->isVisible());
  QCOMPARE(f.dialogs.captionsSeen, QStringList({Greek("Ναι"), Greek("Όχι")}));

  f.NewStatement();
  QVERIFY(!f.Find<QWidget>("startPanel")->isVisible());
  QVERIFY(f.Action("saveAsAction")->isEnabled());
  QCOMPARE(f.Find<QTabWidget>("pages")->currentIndex(), 0);
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("0 Εγγραφές (Πελάτες)"));
  QCOMPARE(f.Label("supplierCountLabel")->text(), Greek("0 Εγγραφές (Προμηθευτές)"));
  QVERIFY(f.Find<QRadioButton>("debitInvoicesButton")->isChecked());
  QCOMPARE(f.Find<QComboBox>("taxOfficeList")->currentIndex(), -1);
  QVERIFY(f.Box("yearBox")->text().isEmpty());
  QVERIFY(f.Box("retailSalesBox")->text().isEmpty());
  for (const char* name : kStatementFiles) QCOMPARE(f.WorkingFile(name), QByteArray());
  QVERIFY(!f.statement->Modified());

  // A second New over lines already typed empties everything again, once the
  // changes are given up.
  RecordGrid* customers = f.Grid(Side::Customers);
  f.TypeLine(customers, 0, QStringLiteral("123456783"));
  QVERIFY(f.StoreLine(Side::Customers));
  QVERIFY(f.WorkingFile("record2").startsWith("2     123456783"));
  f.Find<QRadioButton>("creditBalancesButton")->click();
  f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::No);
  f.NewStatement();
  QCOMPARE(f.WorkingFile("record2"), QByteArray());
  QCOMPARE(customers->model()->rowCount(), 0);
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("0 Εγγραφές (Πελάτες)"));
  QVERIFY(f.Find<QRadioButton>("debitInvoicesButton")->isChecked());
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void MainWindowTest::closeQuestionAnswers() {
  // Cancel keeps the window open with everything as it was.
  {
    Fixture f;
    f.NewStatement();
    f.TypeInto(f.Box("companyNameBox"), Greek("ΑΛΦΑ"));
    QVERIFY(f.statement->Modified());
    f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::Cancel);
    QVERIFY(!f.Exit());
    QCOMPARE(f.dialogs.captionsSeen, QStringList({Greek("Ναι"), Greek("Όχι"), Greek("Άκυρο")}));
    QCOMPARE(f.Box("companyNameBox")->text(), Greek("ΑΛΦΑ"));
    QVERIFY(f.statement->Modified());
    QVERIFY(QFileInfo::exists(f.WorkingFolder()));
    QVERIFY(f.dialogs.Problems().isEmpty());
  }
  // "Ναι" closes only once the statement was really written; an unfinished
  // save keeps the window and the statement.
  {
    Fixture f;
    f.NewStatement();
    f.TypeInto(f.Box("companyNameBox"), Greek("ΑΛΦΑ"));
    f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::Yes);
    QVERIFY(!f.Exit());
    // The year is missing: the save stops at its first check, before any file is chosen.
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages[0].startsWith(
        Greek("Η αποθήκευση σε αρχείο απέτυχε: Γράψτε το έτος που αφορούν τα στοιχεία")));
    QVERIFY(f.dialogs.proposedNames.isEmpty());
    QCOMPARE(QDir(f.environment.DataFolder()).entryList(QDir::Files).size(), 0);
    QCOMPARE(QApplication::focusWidget(), f.Box("yearBox"));
    QCOMPARE(f.Box("companyNameBox")->text(), Greek("ΑΛΦΑ"));
    QVERIFY(f.statement->Modified());
    QVERIFY(QFileInfo::exists(f.WorkingFolder()));
    QVERIFY(f.dialogs.Problems().isEmpty());
  }
  // "Όχι" closes and removes the working folder.
  {
    Fixture f;
    f.NewStatement();
    f.TypeIntoCell(f.Grid(Side::Customers), 0, 0, QStringLiteral("123456783"));
    const QString folder = f.WorkingFolder();
    f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::No);
    QVERIFY(f.Exit());
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(f.dialogs.Problems().isEmpty());
  }
}

void MainWindowTest::newOffersTheUnsavedChangesFirst() {
  Fixture f;
  f.NewStatement();
  f.TypeInto(f.Box("townBox"), Greek("ΒΟΛΟΣ"));
  f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::Cancel);
  f.Action("newAction")->trigger();
  QCOMPARE(f.Box("townBox")->text(), Greek("ΒΟΛΟΣ"));
  QVERIFY(f.statement->Modified());

  f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::No);
  f.NewStatement();
  QVERIFY(f.Box("townBox")->text().isEmpty());
  QVERIFY(!f.statement->Modified());
  QVERIFY(f.Exit());
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void MainWindowTest::typingAnywhereMarksTheStatement() {
  {
    Fixture f;
    f.NewStatement();
    // A refused key counts as much as an accepted one.
    f.TypeInto(f.Box("telephoneBox"), QStringLiteral("x"));
    QVERIFY(f.Box("telephoneBox")->text().isEmpty());
    QCOMPARE(f.dialogs.beeps, 1);
    QVERIFY(f.statement->Modified());
  }
  {
    Fixture f;
    f.NewStatement();
    f.TypeIntoCell(f.Grid(Side::Customers), 0, 1, Greek("Ω"), false);
    QVERIFY(f.statement->Modified());
  }
  {
    Fixture f;
    f.NewStatement();
    f.TypeInto(f.Box("retailSalesBox"), QStringLiteral("."));
    QVERIFY(f.Box("retailSalesBox")->text().isEmpty());
    QVERIFY(f.statement->Modified());
  }
  {
    Fixture f;
    f.NewStatement();
    f.Find<QRadioButton>("creditBalancesButton")->click();
    QVERIFY(f.statement->Modified());
  }
  {
    // Text pasted into a field is as much a change as text typed into it.
    Fixture f;
    f.NewStatement();
    f.Box("companyNameBox")->setFocus();
    f.Paste(Greek("ΑΛΦΑ"));
    QCOMPARE(f.Box("companyNameBox")->text(), Greek("ΑΛΦΑ"));
    QVERIFY(f.statement->Modified());
  }
  {
    // A deletion after a save is a change too: closing then asks.
    QTemporaryDir folder;
    Fixture f;
    f.TypeStatement();
    QVERIFY(f.SaveAs(folder.filePath("saved")));
    QVERIFY(!f.statement->Modified());
    f.ShowPage(0);
    f.DeleteCurrentLine(Side::Customers, Dialogs::Answer::Yes);
    QCOMPARE(f.Label("customerCountLabel")->text(), Greek("1 Εγγραφές (Πελάτες)"));
    QVERIFY(f.statement->Modified());
    f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::No);
    QVERIFY(f.Exit());
    QVERIFY(f.dialogs.Problems().isEmpty());
  }
}

void MainWindowTest::typedLinesReachTheWorkingFiles() {
  Fixture f;
  f.NewStatement();
  RecordGrid* grid = f.Grid(Side::Customers);
  f.TypeIntoCell(grid, 0, 0, QStringLiteral("123456783"));
  f.TypeIntoCell(grid, 0, 3, QStringLiteral("0"));
  f.TypeIntoCell(grid, 0, 8, QStringLiteral("12"));
  f.TypeIntoCell(grid, 0, 9, QStringLiteral("10"), false);
  // Down on the last row stores the line and opens a new one.
  f.Press(Qt::Key_Down);
  QCOMPARE(grid->model()->rowCount(), 2);

  QByteArray expected = "2" + QByteArray(5, ' ') + "123456783";
  expected += QByteArray(57 - expected.size(), ' ') + "0";
  expected += QByteArray(92 - expected.size(), ' ') + "12     ";
  expected += "10" + QByteArray(14, ' ') + QByteArray(35, ' ') + "\r\n";
  QCOMPARE(expected.size(), 152);
  QCOMPARE(f.WorkingFile("record2"), expected);
  QCOMPARE(f.WorkingFile("record21"), expected);
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("1 Εγγραφές (Πελάτες)"));

  // Greek text is kept in the working file as Windows-1253.
  f.TypeIntoCell(grid, 1, 1, Greek("ΩΜΕΓΑ"));
  f.TypeLine(grid, 1, QStringLiteral("094019245"));
  QVERIFY(f.StoreLine(Side::Customers));
  const QByteArray second = f.WorkingFile("record2").mid(152, 150);
  QCOMPARE(second.mid(15, 5), QByteArray("\xD9\xCC\xC5\xC3\xC1"));
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("2 Εγγραφές (Πελάτες)"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void MainWindowTest::pageSwitchingStoresThePendingLine() {
  Fixture f;
  f.NewStatement();
  auto* pages = f.Find<QTabWidget>("pages");
  RecordGrid* customers = f.Grid(Side::Customers);
  // A line its checks refuse keeps the user on its page, still pending.
  f.TypeIntoCell(customers, 0, 0, QStringLiteral("123456783"), false);
  f.ShowPage(1);
  QCOMPARE(pages->currentIndex(), 0);
  QCOMPARE(f.dialogs.messages,
           QStringList(
               {Greek("Πρέπει να συμπληρώσετε τα πεδία ΑΦΜ, Υπόχρεος, Αριθ. τιμολογίων, Αξία")}));
  QVERIFY(f.Grid(Side::Customers)->Model()->IsEditing());
  QCOMPARE(customers->model()->index(0, 0).data().toString(), QStringLiteral("123456783"));
  QCOMPARE(f.WorkingFile("record2"), QByteArray());

  f.TypeLine(customers, 0, QStringLiteral("123456783"));
  f.ShowPage(1);
  QCOMPARE(pages->currentIndex(), 1);
  QCOMPARE(f.WorkingFile("record2").left(15), QByteArray("2     123456783"));
  QVERIFY(!f.Grid(Side::Customers)->Model()->IsEditing());

  f.TypeLine(f.Grid(Side::Suppliers), 0, QStringLiteral("094019245"));
  f.ShowPage(0);
  QCOMPARE(pages->currentIndex(), 0);
  QCOMPARE(f.WorkingFile("record4").left(15), QByteArray("4     094019245"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
