#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kCloseQuestion = Greek("Έχετε κάνει αλλαγές. Θέλετε να αποθηκευτούν σε αρχείο;");

QStringList StatementFiles() { return {"generalData", "record2", "record3", "record4", "record5"}; }

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startAndCloseWithoutChanges();
  void newStatement();
  void closeQuestionAnswers();
  void newKeepsTheUnsavedChangesFlag();
  void typingAnywhereMarksTheStatement();
  void typedLinesReachTheWorkingFiles();
  void pageSwitchingStoresThePendingLine();
};

void MainWindowTest::startAndCloseWithoutChanges() {
  Fixture f;
  const QString folder = QString::fromStdString(f.window->Files().Folder());
  QVERIFY(QFileInfo(folder).isDir());
  QVERIFY(f.environment.capsLock);
  QVERIFY(f.window->Panel2->isVisible());
  QVERIFY(!f.window->N7->isEnabled());
  QVERIFY(!f.window->PrintMenu->isEnabled());
  QVERIFY(!f.window->N17->isEnabled());
  QVERIFY(!f.window->Excel1->isEnabled());
  QVERIFY(f.window->N1->isEnabled());
  QVERIFY(f.window->N2->isEnabled());
  QVERIFY(!f.window->FixedFormatDataSet1.Active());
  // Nothing is created before a statement exists.
  QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 0);

  QVERIFY(f.window->close());
  QVERIFY(f.dialogs.Problems().isEmpty());
  QVERIFY(!QFileInfo::exists(folder));
  QVERIFY(!f.environment.capsLock);
}

void MainWindowTest::newStatement() {
  Fixture f;
  // "Όχι" leaves the start panel where it was.
  f.dialogs.Expect(Greek("Δημιουργία νέου αρχείου;"), Dialogs::Answer::No);
  f.window->N1->trigger();
  QVERIFY(f.window->Panel2->isVisible());
  QCOMPARE(f.dialogs.captionsSeen, QStringList({Greek("Ναι"), Greek("Όχι")}));

  f.NewStatement();
  QVERIFY(!f.window->Panel2->isVisible());
  QVERIFY(f.window->N7->isEnabled());
  QVERIFY(f.window->PrintMenu->isEnabled());
  QVERIFY(f.window->N17->isEnabled());
  QVERIFY(f.window->Excel1->isEnabled());
  QCOMPARE(f.window->PageControl1->currentIndex(), 0);
  QCOMPARE(f.window->TabSheet1->countLabel->text(), Greek("0 Εγγραφές (Πελάτες)"));
  QCOMPARE(f.window->TabSheet2->countLabel->text(), Greek("0 Εγγραφές (Προμηθευτές)"));
  QVERIFY(f.window->Filer->RadioButton1->isChecked());
  QCOMPARE(f.window->Filer->OfficeIndex(), -1);
  QCOMPARE(f.window->Filer->DOYCodes->currentIndex(), -1);
  QVERIFY(f.window->Filer->YearOfData->text().isEmpty());
  QVERIFY(f.window->TabSheet1->retailSales->text().isEmpty());
  QCOMPARE(f.window->FixedFormatDataSet1.RecordCount(), 0);
  for (const QString& name : StatementFiles())
    QCOMPARE(f.WorkingFile(name.toLatin1().constData()), QByteArray());
  QVERIFY(!f.window->StatementModified);

  // A second New over lines already typed empties everything again.
  f.TypeLine(f.window->TabSheet1->grid, 0, QStringLiteral("123456783"));
  QVERIFY(f.window->TabSheet1->grid->DoAction(RecordGrid::Action::Post));
  QVERIFY(f.WorkingFile("record2").startsWith("2     123456783"));
  f.window->Filer->RadioButton2->click();
  f.NewStatement();
  QCOMPARE(f.WorkingFile("record2"), QByteArray());
  QCOMPARE(f.window->TabSheet1->grid->model()->rowCount(), 0);
  QVERIFY(f.window->Filer->RadioButton1->isChecked());
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void MainWindowTest::closeQuestionAnswers() {
  // Cancel keeps the window open with everything as it was.
  {
    Fixture f;
    f.NewStatement();
    f.TypeInto(f.window->Filer->CompanyName, Greek("ΑΛΦΑ"));
    QVERIFY(f.window->StatementModified);
    f.dialogs.Expect(kCloseQuestion, Dialogs::Answer::Cancel);
    QVERIFY(!f.window->close());
    QCOMPARE(f.dialogs.captionsSeen, QStringList({Greek("Ναι"), Greek("Όχι"), Greek("Άκυρο")}));
    QCOMPARE(f.window->Filer->CompanyName->text(), Greek("ΑΛΦΑ"));
    QVERIFY(f.window->StatementModified);
    QVERIFY(QFileInfo::exists(QString::fromStdString(f.window->Files().Folder())));
    QVERIFY(f.dialogs.Problems().isEmpty());
  }
  // "Ναι" closes only once the statement was really written; an unfinished
  // save keeps the window and the statement.
  {
    Fixture f;
    f.NewStatement();
    f.TypeInto(f.window->Filer->CompanyName, Greek("ΑΛΦΑ"));
    f.dialogs.Expect(kCloseQuestion, Dialogs::Answer::Yes);
    QVERIFY(!f.window->close());
    // The year is missing: the save stops at its first check.
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages[0].startsWith(
        Greek("Η αποθήκευση σε αρχείο απέτυχε: Γράψτε το έτος που αφορούν τα στοιχεία")));
    QVERIFY(!f.window->SaveChecksPassed);
    QCOMPARE(f.window->Filer->CompanyName->text(), Greek("ΑΛΦΑ"));
    QVERIFY(f.window->StatementModified);
    QVERIFY(QFileInfo::exists(QString::fromStdString(f.window->Files().Folder())));
  }
  // "Όχι" closes and removes the working folder.
  {
    Fixture f;
    f.NewStatement();
    f.TypeIntoCell(f.window->TabSheet1->grid, 0, 0, QStringLiteral("123456783"));
    const QString folder = QString::fromStdString(f.window->Files().Folder());
    f.dialogs.Expect(kCloseQuestion, Dialogs::Answer::No);
    QVERIFY(f.window->close());
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(f.dialogs.Problems().isEmpty());
  }
}

void MainWindowTest::newKeepsTheUnsavedChangesFlag() {
  Fixture f;
  f.NewStatement();
  f.TypeInto(f.window->Filer->Town, Greek("ΒΟΛΟΣ"));
  f.NewStatement();
  QVERIFY(f.window->Filer->Town->text().isEmpty());
  QVERIFY(f.window->StatementModified);
  f.dialogs.Expect(kCloseQuestion, Dialogs::Answer::No);
  QVERIFY(f.window->close());
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void MainWindowTest::typingAnywhereMarksTheStatement() {
  {
    Fixture f;
    f.NewStatement();
    // A refused key counts as much as an accepted one.
    f.TypeInto(f.window->Filer->Tel, QStringLiteral("x"));
    QVERIFY(f.window->Filer->Tel->text().isEmpty());
    QCOMPARE(f.dialogs.beeps, 1);
    QVERIFY(f.window->StatementModified);
  }
  {
    Fixture f;
    f.NewStatement();
    f.TypeIntoCell(f.window->TabSheet1->grid, 0, 1, Greek("Ω"), false);
    QVERIFY(f.window->StatementModified);
  }
  {
    Fixture f;
    f.NewStatement();
    f.TypeInto(f.window->TabSheet1->retailSales, QStringLiteral("."));
    QVERIFY(f.window->TabSheet1->retailSales->text().isEmpty());
    QVERIFY(f.window->StatementModified);
  }
  {
    Fixture f;
    f.NewStatement();
    f.window->Filer->RadioButton2->click();
    QVERIFY(f.window->StatementModified);
  }
  {
    // Storing and deleting lines alone do not.
    Fixture f;
    f.NewStatement();
    RecordGrid* grid = f.window->TabSheet1->grid;
    grid->setFocus();
    grid->DoAction(RecordGrid::Action::Append);
    const std::pair<int, const char*> cells[] = {{0, "123456783"}, {3, "0"}, {8, "2"}, {9, "5"}};
    for (const auto& [column, text] : cells)
      grid->Model()->setData(grid->model()->index(0, column), QString::fromLatin1(text),
                             Qt::EditRole);
    QVERIFY(grid->DoAction(RecordGrid::Action::Post));
    QVERIFY(!f.window->StatementModified);
    f.dialogs.Expect(Greek("Είστε σίγουρος;"), Dialogs::Answer::Yes);
    f.window->TabSheet1->navigator->Click(RecordGrid::Action::Delete);
    QCOMPARE(grid->model()->rowCount(), 0);
    QVERIFY(!f.window->StatementModified);
  }
}

void MainWindowTest::typedLinesReachTheWorkingFiles() {
  Fixture f;
  f.NewStatement();
  RecordGrid* grid = f.window->TabSheet1->grid;
  f.TypeIntoCell(grid, 0, 0, QStringLiteral("123456783"));
  f.TypeIntoCell(grid, 0, 3, QStringLiteral("0"));
  f.TypeIntoCell(grid, 0, 8, QStringLiteral("12"));
  f.TypeIntoCell(grid, 0, 9, QStringLiteral("10"), false);
  // Down on the last row stores the line and opens a new one.
  QTest::keyClick(grid->Editor(), Qt::Key_Down);
  QCOMPARE(grid->model()->rowCount(), 2);

  QByteArray expected = "2" + QByteArray(5, ' ') + "123456783";
  expected += QByteArray(57 - expected.size(), ' ') + "0";
  expected += QByteArray(92 - expected.size(), ' ') + "12     ";
  expected += "10" + QByteArray(14, ' ') + QByteArray(35, ' ') + "\r\n";
  QCOMPARE(expected.size(), 152);
  QCOMPARE(f.WorkingFile("record2"), expected);
  QCOMPARE(f.WorkingFile("record21"), expected);
  QCOMPARE(f.window->TabSheet1->countLabel->text(), Greek("1 Εγγραφές (Πελάτες)"));

  // Greek text is kept in the working file as Windows-1253.
  f.TypeIntoCell(grid, 1, 1, Greek("ΩΜΕΓΑ"));
  f.TypeLine(grid, 1, QStringLiteral("094019245"));
  QVERIFY(grid->DoAction(RecordGrid::Action::Post));
  const QByteArray second = f.WorkingFile("record2").mid(152, 150);
  QCOMPARE(second.mid(15, 5), QByteArray("\xD9\xCC\xC5\xC3\xC1"));
  QCOMPARE(f.window->TabSheet1->countLabel->text(), Greek("2 Εγγραφές (Πελάτες)"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void MainWindowTest::pageSwitchingStoresThePendingLine() {
  Fixture f;
  f.NewStatement();
  RecordGrid* customers = f.window->TabSheet1->grid;
  // A line its checks refuse keeps the user on its page, still pending.
  f.TypeIntoCell(customers, 0, 0, QStringLiteral("123456783"), false);
  f.window->PageControl1->setCurrentIndex(1);
  QCOMPARE(f.window->PageControl1->currentIndex(), 0);
  QCOMPARE(f.dialogs.messages,
           QStringList(
               {Greek("Πρέπει να συμπληρώσετε τα πεδία ΑΦΜ, Υπόχρεος, Αριθ. τιμολογίων, Αξία")}));
  QVERIFY(!f.window->LinePostOk);
  QCOMPARE(f.window->FixedFormatDataSet1.State(), DataSetState::Insert);
  QCOMPARE(f.WorkingFile("record2"), QByteArray());

  f.TypeLine(customers, 0, QStringLiteral("123456783"));
  f.window->PageControl1->setCurrentIndex(1);
  QCOMPARE(f.window->PageControl1->currentIndex(), 1);
  QCOMPARE(f.WorkingFile("record2").left(15), QByteArray("2     123456783"));
  QCOMPARE(f.window->FixedFormatDataSet1.State(), DataSetState::Browse);
  QVERIFY(f.window->LinePostOk);

  RecordGrid* suppliers = f.window->TabSheet2->grid;
  f.TypeLine(suppliers, 0, QStringLiteral("094019245"));
  f.window->PageControl1->setCurrentIndex(0);
  QCOMPARE(f.WorkingFile("record4").left(15), QByteArray("4     094019245"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
