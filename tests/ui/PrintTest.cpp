#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTest>
#include <QLabel>
#include <QSpinBox>
#include <string>
#include <vector>

#include "PageView.h"
#include "PrintWindow.h"
#include "RecordLayout.h"
#include "StatementPage.h"
#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

// "Εκτύπωση" sends the page to this PDF file instead of the print dialog.
PrintWindow::PrinterChoice PrintInto(const QString& path) {
  return [path](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
  };
}

bool IsPdf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

// The text of one page of a PDF file, through pdftotext.
QString PdfPageText(const QString& path, int page) {
  QProcess process;
  const QString number = QString::number(page);
  process.start(QStringLiteral("pdftotext"),
                {"-f", number, "-l", number, "-layout", path, QStringLiteral("-")});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPageCount(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdfinfo"), {path});
  if (!process.waitForFinished(60000)) return 0;
  for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n'))
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  return 0;
}

// A customer's working line with the number n in its tax number and name.
std::string CustomerLine(int n) {
  std::string line(150, ' ');
  auto put = [&line](LineField field, const std::string& text) {
    line.replace(LineSpan(field).offset, text.size(), text);
  };
  put(LineField::RecordType, "2");
  put(LineField::TaxNumber, std::to_string(100000000 + n));
  put(LineField::Name, "NAME" + std::to_string(n));
  put(LineField::Obligation, "0");
  put(LineField::InvoiceCount, "1");
  put(LineField::Value, "10");
  return line;
}

}  // namespace

class PrintTest : public QObject {
  Q_OBJECT

 private slots:
  void printsTheStatementAsTyped();
  void everyPrintedPageRepeatsTheHeads();
};

void PrintTest::printsTheStatementAsTyped() {
  Fixture f;
  QMenu* printMenu = f.Find<QMenu>("printMenu");
  QVERIFY(!printMenu->menuAction()->isEnabled());
  QVERIFY(!f.Action("printCustomersAction")->isEnabled());
  QCOMPARE(printMenu->actions(),
           QList<QAction*>({f.Action("printCustomersAction"), f.Action("printSuppliersAction")}));
  QCOMPARE(f.Action("printCustomersAction")->text().remove('&'),
           Greek("Συγκεντρωτική κατάσταση Πελατών"));
  QCOMPARE(f.Action("printSuppliersAction")->text().remove('&'),
           Greek("Συγκεντρωτική κατάσταση Προμηθευτών"));
  f.NewStatement();
  QVERIFY(printMenu->menuAction()->isEnabled());
  QVERIFY(f.Action("printSuppliersAction")->isEnabled());

  auto* printWindow = f.Find<PrintWindow>("printWindow");
  auto* pageView = f.Find<PageView>("printPageView");
  const QString customersPage = QDir(f.environment.DataFolder()).filePath("Pelates.htm");

  // A line without its tax number is refused: its message only, and no page.
  RecordGrid* customers = f.Grid(Side::Customers);
  f.TypeIntoCell(customers, 0, 1, Greek("ΝΙΚΟΛΑΟΥ & ΣΙΑ"));
  f.Action("printCustomersAction")->trigger();
  QCOMPARE(f.dialogs.messages.size(), 1);
  QVERIFY(!QFileInfo::exists(customersPage));
  QVERIFY(!printWindow->isVisible());

  // Completed, the pending line is stored first and printed.
  f.TypeLine(customers, 0, QStringLiteral("094019245"), "0", "12", "1234,5");
  f.Action("printCustomersAction")->trigger();
  QCOMPARE(f.dialogs.messages.size(), 1);
  QVERIFY(f.WorkingFile("record2").startsWith("2     094019245"));
  QVERIFY(QFileInfo::exists(customersPage));
  QVERIFY(printWindow->isVisible());
  QVERIFY(printWindow->isModal());
  QCOMPARE(printWindow->windowTitle(), Greek("Εκτύπωση"));
  QCOMPARE(pageView->PageCount(), std::size_t{1});
  QCOMPARE(f.Find<QLabel>("pageCountLabel")->text(), Greek("από 1"));

  // "Εκτύπωση" prints through the printer the user set up.
  QTemporaryDir out;
  const QString printed = out.filePath("printed.pdf");
  printWindow->SetPrinterChoice(PrintInto(printed));
  QTest::mouseClick(f.Find<QPushButton>("printButton"), Qt::LeftButton);
  QVERIFY(IsPdf(printed));
  if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
    const QString shown = PdfPageText(printed, 1);
    QVERIFY(shown.contains(Greek("ΣΥΓΚΕΝΤΡΩΤΙΚΗ ΚΑΤΑΣΤΑΣΗ ΠΕΛΑΤΩΝ")));
    QVERIFY(shown.contains(Greek("ΝΙΚΟΛΑΟΥ & ΣΙΑ")));
    QVERIFY(shown.contains(QStringLiteral("094019245")));
    QVERIFY(shown.contains(QStringLiteral("1234,5")));
    QVERIFY(shown.contains(Greek("Σελίδα 1 από 1")));
    QVERIFY(!shown.contains(Greek("ΠΙΣΤΩΤΙΚΑ ΥΠΟΛΟΙΠΑ")));
  }
  QVERIFY(f.dialogs.warnings.isEmpty());

  // A printer that cannot print: the arrow cursor and the message; the window stays.
  printWindow->SetPrinterChoice(PrintInto(out.filePath("missing/printed.pdf")));
  QTest::mouseClick(f.Find<QPushButton>("printButton"), Qt::LeftButton);
  QCOMPARE(f.dialogs.messages.last(), PrintWindow::PrintFailedMessage());
  QVERIFY(!QApplication::overrideCursor());
  QVERIFY(printWindow->isVisible());
  // Cancelled in the print dialog: nothing.
  printWindow->SetPrinterChoice([](QPrinter&, QWidget*) { return false; });
  QTest::mouseClick(f.Find<QPushButton>("printButton"), Qt::LeftButton);
  QCOMPARE(f.dialogs.messages.size(), 2);
  printWindow->close();
  QVERIFY(!printWindow->isVisible());

  // The suppliers' statement, with credit balances chosen.
  f.Find<QRadioButton>("creditBalancesButton")->click();
  f.Action("printSuppliersAction")->trigger();
  QVERIFY(printWindow->isVisible());
  QVERIFY(QFileInfo::exists(QDir(f.environment.DataFolder()).filePath("Promitheftes.htm")));

  // Saved as PDF under the proposed name, the dialog starting in the documents
  // folder and then where the last PDF went; an existing file only after the question.
  const QString saved = out.filePath("Promitheftes.pdf");
  f.dialogs.ExpectSaveFile(saved);
  QTest::mouseClick(f.Find<QPushButton>("savePdfButton"), Qt::LeftButton);
  QCOMPARE(f.dialogs.proposedNames.last(), QStringLiteral("Promitheftes.pdf"));
  QCOMPARE(f.dialogs.folders.last(), f.environment.DocumentsFolder());
  QVERIFY(IsPdf(saved));
  if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
    const QString shown = PdfPageText(saved, 1);
    QVERIFY(shown.contains(Greek("ΣΥΓΚΕΝΤΡΩΤΙΚΗ ΚΑΤΑΣΤΑΣΗ ΠΡΟΜΗΘΕΥΤΩΝ")));
    QVERIFY(shown.contains(Greek("ΠΙΣΤΩΤΙΚΑ ΥΠΟΛΟΙΠΑ")));
    QVERIFY(!shown.contains(QStringLiteral("094019245")));
  }
  QFile::resize(saved, 0);
  f.dialogs.ExpectSaveFile(saved);
  f.dialogs.Expect(
      Greek("Είστε σίγουρος ότι θέλετε να αντικαταστήσετε το αρχείο Promitheftes.pdf;"),
      Dialogs::Answer::No);
  QTest::mouseClick(f.Find<QPushButton>("savePdfButton"), Qt::LeftButton);
  QCOMPARE(f.dialogs.folders.last(), out.path());
  QCOMPARE(QFileInfo(saved).size(), 0);
  printWindow->close();

  QCOMPARE(f.dialogs.messages.size(), 2);
  QVERIFY(f.dialogs.warnings.isEmpty());
  QVERIFY2(f.dialogs.Problems().isEmpty(), qPrintable(f.dialogs.Problems().join('|')));
}

void PrintTest::everyPrintedPageRepeatsTheHeads() {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
      QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
    QSKIP("pdftotext and pdfinfo (poppler-utils) are needed to read the printed pages");

  Fixture f;
  f.NewStatement();
  std::vector<std::string> lines;
  for (int n = 1; n <= 200; ++n) lines.push_back(CustomerLine(n));
  StatementPageInput input;
  input.lines = lines;
  input.invoiceTotal = Cp1253Text("200");
  input.valueTotal = Cp1253Text("2000,00");
  auto* window = f.Find<PrintWindow>("printWindow");
  window->LoadStatement(input);
  window->ShowModal();

  // Opens on the first page; the last is one click away, and only pages in view are painted.
  auto* view = f.Find<PageView>("printPageView");
  const std::size_t pageCount = view->PageCount();
  QVERIFY(pageCount >= 3);
  QCOMPARE(f.Find<QSpinBox>("pageNumberBox")->value(), 1);
  QTest::mouseClick(f.Find<QToolButton>("lastPageButton"), Qt::LeftButton);
  QCOMPARE(view->CurrentPage(), pageCount - 1);
  QCOMPARE(f.Find<QSpinBox>("pageNumberBox")->value(), static_cast<int>(pageCount));
  view->viewport()->repaint();
  QVERIFY(view->PaintedPageCount() <= 4);

  QTemporaryDir folder;
  const QString printed = folder.filePath("printed.pdf");
  window->SetPrinterChoice(PrintInto(printed));
  f.Find<QPushButton>("printButton")->click();
  const QString saved = folder.filePath("saved.pdf");
  f.dialogs.ExpectSaveFile(saved);
  f.Find<QPushButton>("savePdfButton")->click();

  for (const QString& pdf : {printed, saved}) {
    const int pages = PdfPageCount(pdf);
    QVERIFY2(pages >= 3, qPrintable(pdf));
    const QString first = PdfPageText(pdf, 1);
    QVERIFY(first.contains(Greek("ΣΥΓΚΕΝΤΡΩΤΙΚΗ ΚΑΤΑΣΤΑΣΗ ΠΕΛΑΤΩΝ")));
    QVERIFY(first.contains(QStringLiteral("NAME1 ")));
    for (int page = 2; page <= pages; ++page) {
      const QString text = PdfPageText(pdf, page);
      // The page head and the lines' heading row, above lines that continue the list.
      QVERIFY2(text.contains(QStringLiteral("DALMERIN - QUORVANE")), qPrintable(text));
      QVERIFY(text.contains(Greek("α/α")));
      QVERIFY(text.contains(Greek("Καθαρή")));
      QVERIFY(!text.contains(Greek("ΣΤΟΙΧΕΙΑ ΥΠΟΧΡΕΟΥ")));
      QVERIFY(text.indexOf(QStringLiteral("DALMERIN")) < text.indexOf(Greek("α/α")));
      QVERIFY(text.contains(Greek("Σελίδα %1 από %2").arg(page).arg(pages)));
    }
    const QString last = PdfPageText(pdf, pages);
    QVERIFY(last.contains(QStringLiteral("NAME200")));
    QVERIFY(last.contains(Greek("ΣΥΝΟΛΟ")));
  }
  QCOMPARE(PdfPageCount(saved), static_cast<int>(pageCount));
  window->close();
  QCOMPARE(view->PageCount(), std::size_t{0});
  QVERIFY(f.dialogs.messages.isEmpty());
  QVERIFY(f.dialogs.warnings.isEmpty());
  QVERIFY(f.dialogs.Problems().isEmpty());
}

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
