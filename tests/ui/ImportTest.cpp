#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

QString SheetFile(const char* name) {
  return QFileInfo(QString::fromUtf8(__FILE__))
      .dir()
      .filePath(QStringLiteral("../data/import/") + QLatin1String(name));
}

QString Cell(RecordGrid* grid, int row, int column) {
  return grid->model()->index(row, column).data().toString();
}

QString ImportQuestion() { return Greek("Θέλετε να εισάγετε τιμολόγια Πελατών ή Προμηθευτών;"); }

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

}  // namespace

class ImportTest : public QObject {
  Q_OBJECT

 private slots:
  void importsRowsAfterThePendingLine();
  void badRowImportsNothing();
  void everyBadRowIsListedAndNothingIsImported();
  void emptyGridOfferingANewRowTakesTheRows();
  void stopDuringASlowReadImportsNothing();
};

void ImportTest::importsRowsAfterThePendingLine() {
  Fixture f;
  QVERIFY(!f.Action("importAction")->isEnabled());
  f.NewStatement();
  QVERIFY(f.Action("importAction")->isEnabled());
  f.TypeInto(f.Box("taxNumberBox"), QStringLiteral("094019245"));
  // A supplier line is still being typed when the command starts: it is stored first.
  f.ShowPage(1);
  f.TypeLine(f.Grid(Side::Suppliers), 0, QStringLiteral("094014298"), "1", "2", "10,5");
  f.statement->SetModified(false);

  f.dialogs.ExpectChoice(ImportQuestion(), 0);
  f.dialogs.ExpectOpenFile(SheetFile("lines.xlsx"));
  f.Action("importAction")->trigger();
  QCOMPARE(f.dialogs.captionsSeen,
           QStringList({Greek("Πελατών"), Greek("Προμ/τών"), Greek("Ακύρωση")}));
  QCOMPARE(f.Label("supplierCountLabel")->text(), Greek("1 Εγγραφές (Προμηθευτές)"));

  // The rows on the customers' page, now on view, with their count and totals.
  QCOMPARE(f.Find<QTabWidget>("pages")->currentIndex(), 0);
  RecordGrid* customers = f.Grid(Side::Customers);
  QCOMPARE(customers->model()->rowCount(), 3);
  QCOMPARE(Cell(customers, 0, 0), QStringLiteral("123456783"));
  QCOMPARE(Cell(customers, 0, 9), QStringLiteral("150,5"));
  QCOMPARE(Cell(customers, 1, 1), Greek("Βήτα Ο.Ε."));
  QCOMPARE(Cell(customers, 2, 0), QStringLiteral("99999999"));
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("3 Εγγραφές (Πελάτες)"));
  QCOMPARE(f.Box("customerInvoiceTotalBox")->text(), QStringLiteral("17"));
  QCOMPARE(f.Box("customerValueTotalBox")->text(), QStringLiteral("163,00"));
  QCOMPARE(f.WorkingFile("record2").count("\r\n"), 3);
  QVERIFY(f.statement->Modified());
  QVERIFY(f.dialogs.messages.isEmpty());
  QCOMPARE(f.dialogs.beeps, 0);

  // A second sheet goes after the first one's lines, here on the suppliers' side.
  f.dialogs.ExpectChoice(ImportQuestion(), 1);
  f.dialogs.ExpectOpenFile(SheetFile("lines-cp1253.csv"));
  f.Action("importAction")->trigger();
  QCOMPARE(f.Find<QTabWidget>("pages")->currentIndex(), 1);
  RecordGrid* suppliers = f.Grid(Side::Suppliers);
  QCOMPARE(suppliers->model()->rowCount(), 4);
  QCOMPARE(Cell(suppliers, 0, 0), QStringLiteral("094014298"));
  QCOMPARE(Cell(suppliers, 1, 0), QStringLiteral("123456783"));
  QCOMPARE(f.Label("supplierCountLabel")->text(), Greek("4 Εγγραφές (Προμηθευτές)"));
  QCOMPARE(f.Box("supplierValueTotalBox")->text(), QStringLiteral("173,50"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void ImportTest::badRowImportsNothing() {
  Fixture f;
  f.NewStatement();
  f.statement->SetModified(false);
  f.dialogs.ExpectChoice(ImportQuestion(), 1);
  f.dialogs.ExpectOpenFile(SheetFile("headings.xlsx"));
  f.Action("importAction")->trigger();
  QCOMPARE(f.dialogs.messages,
           QStringList({Greek("Λάθος στη γραμμή 1 του αρχείου: Η στήλη Υπόχρεος (Νο 4) πρέπει να "
                              "έχει τιμή 0 ή 1. Διορθώστε το για να προχωρήσετε στην εισαγωγή.")}));
  QCOMPARE(f.Grid(Side::Suppliers)->model()->rowCount(), 0);
  QCOMPARE(f.Find<QTabWidget>("pages")->currentIndex(), 0);
  QCOMPARE(f.WorkingFile("record4"), QByteArray());
  QVERIFY(!f.statement->Modified());

  // "Ακύρωση" ends the command before any file is chosen.
  f.dialogs.ExpectChoice(ImportQuestion(), 2);
  f.Action("importAction")->trigger();
  QCOMPARE(f.dialogs.messages.size(), 1);
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void ImportTest::everyBadRowIsListedAndNothingIsImported() {
  Fixture f;
  f.NewStatement();
  // 3,000 rows with a mistake in every 120th: of the sheet's rules, and of the
  // line checks (a repeated number, a zero value with one invoice).
  const auto taxNumber = [](int index) {
    const std::string digits = std::to_string(10'000'000 + index);
    int sum = 0;
    for (int k = 0; k < 8; ++k) sum += (digits[static_cast<std::size_t>(k)] - '0') << (8 - k);
    return QByteArray::fromStdString(digits + static_cast<char>('0' + sum % 11 % 10));
  };
  QByteArray sheet;
  QStringList mistakes;
  for (int row = 1; row <= 3000; ++row) {
    QByteArray number = taxNumber(row), code = "0", invoices = "3", value = "12,5";
    if (row % 120 == 0) {
      switch (row / 120 % 3) {
        case 0:
          code = "2";
          break;
        case 1:
          number = taxNumber(row - 1);
          break;
        case 2:
          value = "0";
          invoices = "1";
          break;
      }
      mistakes << QStringLiteral("%1 ").arg(row);
    }
    sheet += number + ";ΟΝΟΜΑ;;" + code + ";;;;;" + invoices + ";" + value + "\r\n";
  }
  const QString path = QDir(f.environment.DataFolder()).filePath(QStringLiteral("πελάτες.csv"));
  WriteFile(path, sheet);
  f.dialogs.ExpectChoice(ImportQuestion(), 0);
  f.dialogs.ExpectOpenFile(path);
  f.Action("importAction")->trigger();

  QCOMPARE(f.dialogs.messages.size(), 1);
  QVERIFY(f.dialogs.messages[0].startsWith(Greek("Λάθος στη γραμμή 120 του αρχείου: ")));
  QCOMPARE(f.dialogs.details.size(), 1);
  const QStringList listed = f.dialogs.details[0].split('\n', Qt::SkipEmptyParts);
  QCOMPARE(listed.size(), 25);
  for (int i = 0; i < listed.size(); ++i)
    QVERIFY2(listed[i].startsWith(Greek("Λάθος στη γραμμή ") + mistakes[i]), qPrintable(listed[i]));
  QCOMPARE(f.Grid(Side::Customers)->model()->rowCount(), 0);
  QCOMPARE(f.WorkingFile("record2"), QByteArray());
  QVERIFY(!f.statement->Modified());
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void ImportTest::emptyGridOfferingANewRowTakesTheRows() {
  Fixture f;
  f.NewStatement();
  // The grid takes the focus back while the file is chosen, and offers a new row.
  f.dialogs.whileChoosingFile = [&f] {
    f.Box("taxNumberBox")->setFocus();
    f.Grid(Side::Customers)->setFocus();
    QApplication::processEvents();
  };
  f.dialogs.ExpectChoice(ImportQuestion(), 0);
  f.dialogs.ExpectOpenFile(SheetFile("lines.xlsx"));
  f.Action("importAction")->trigger();
  QCOMPARE(f.Grid(Side::Customers)->model()->rowCount(), 3);
  QCOMPARE(f.WorkingFile("record2").count("\r\n"), 3);
  QVERIFY(f.dialogs.warnings.isEmpty());
  QVERIFY(f.dialogs.Problems().isEmpty());
}

// A sheet whose reading does not end by itself: a pipe that no one writes yet.
void ImportTest::stopDuringASlowReadImportsNothing() {
  Fixture f;
  f.NewStatement();
  f.statement->SetModified(false);
  const QString path = QDir(f.environment.DataFolder()).filePath(QStringLiteral("slow.csv"));
  QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
  f.dialogs.ExpectChoice(ImportQuestion(), 0);
  f.dialogs.ExpectOpenFile(path);
  bool stopShown = false;
  // Runs once the window waits on the reading, as the user's click would.
  QTimer::singleShot(0, [&] {
    auto* stop = f.Find<QPushButton>("stopButton");
    stopShown = f.Find<QWidget>("waitBox")->isVisible() && stop->isVisible();
    stop->click();
  });
  f.Action("importAction")->trigger();
  QVERIFY(stopShown);
  QVERIFY(!f.Find<QWidget>("waitBox")->isVisible());
  QCOMPARE(f.Grid(Side::Customers)->model()->rowCount(), 0);
  QVERIFY(f.dialogs.messages.isEmpty());
  QVERIFY(!f.statement->Modified());
  QVERIFY(f.dialogs.Problems().isEmpty());
  // The abandoned reading ends when the pipe does.
  QFile writer(path);
  QVERIFY(writer.open(QIODevice::WriteOnly));
  writer.close();
}

QTEST_MAIN(ImportTest)
#include "ImportTest.moc"
