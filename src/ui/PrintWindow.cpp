#include "PrintWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <exception>
#include <string_view>

#include "AtomicFile.h"
#include "Dialogs.h"
#include "GreekText.h"
#include "SaveFailedMessage.h"
#include "StatementPage.h"
#include "SubmissionWriter.h"

namespace velmora {

namespace {

constexpr int kPageViewWidth = 793;
constexpr int kPageViewHeight = 617;

// The wait cursor while a page is laid out and printed, taken down however it ends.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// Lays the page out on the device's pages and paints them. Laid out for the device
// itself, the table heads (the page head and the lines' heading row) are repeated
// at the top of every page.
void RenderPage(const QString& html, QPagedPaintDevice& device) {
  QTextDocument document;
  document.documentLayout()->setPaintDevice(&device);
  document.setPageSize(device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
  document.setHtml(html);
  document.print(&device);
}

bool ChooseWithPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

PrintWindow::PrintWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      dialogs_(dialogs),
      choosePrinter_(ChooseWithPrintDialog) {
  setObjectName(QStringLiteral("printWindow"));
  setWindowTitle(QStringLiteral("Εκτύπωση"));

  pageView_ = new QTextBrowser(this);
  pageView_->setObjectName(QStringLiteral("printPageView"));
  pageView_->setAccessibleName(QStringLiteral("Σελίδα εκτύπωσης"));
  pageView_->setReadOnly(true);
  pageView_->setOpenLinks(false);
  pageView_->setFixedSize(kPageViewWidth, kPageViewHeight);
  // A scroll bar that came and went would lay a long page out twice.
  pageView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  printButton_ = new QPushButton(QStringLiteral("Εκτύπωση"), this);
  printButton_->setObjectName(QStringLiteral("printButton"));
  pdfButton_ = new QPushButton(QStringLiteral("Αποθήκευση σε PDF"), this);
  pdfButton_->setObjectName(QStringLiteral("savePdfButton"));
  connect(printButton_, &QPushButton::clicked, this, &PrintWindow::onPrint);
  connect(pdfButton_, &QPushButton::clicked, this, &PrintWindow::onSaveAsPdf);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(pdfButton_);
  buttons->addWidget(printButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pageView_);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}

QString PrintWindow::PrintFailedMessage() {
  return QStringLiteral(
      "Υπήρξε ένα πρόβλημα κατά την εκτύπωση. Βεβαιωθείτε ότι έχετε ορίσει κάποιον εκτυπωτή");
}

std::optional<QString> PrintWindow::LoadPage(const QString& path, Side side) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return file.errorString();
  // The page is Windows-1253 whatever a browser would guess from it.
  pageHtml_ = FromCp1253(Cp1253Text(std::string_view(bytes.constData(), bytes.size())));
  pageFolder_ = QFileInfo(path).absolutePath();
  side_ = side;
  const WaitCursor busy;
  pageView_->setHtml(pageHtml_);
  return std::nullopt;
}

void PrintWindow::ShowModal() {
  setWindowModality(Qt::ApplicationModal);
  const QRect desktop = (screen() ? screen() : QApplication::primaryScreen())->availableGeometry();
  move(desktop.center() - rect().center());
  show();
  raise();
  activateWindow();
}

void PrintWindow::onPrint() {
  QPrinter printer(QPrinter::HighResolution);
  if (!choosePrinter_(printer, this)) return;
  bool printed = false;
  if (printer.isValid()) {
    const WaitCursor busy;
    RenderPage(pageHtml_, printer);
    printed = printer.printerState() != QPrinter::Error;
  }
  // The cursor is the arrow again before the message.
  if (!printed) dialogs_.ShowMessage(PrintFailedMessage());
}

void PrintWindow::onSaveAsPdf() {
  const QString path =
      dialogs_.ChooseSaveFile(pageFolder_, QString::fromStdString(StatementPdfFileName(side_)),
                              QStringLiteral("PDF (*.pdf)"));
  if (path.isEmpty()) return;
  if (QFileInfo::exists(path) &&
      dialogs_.AskUser(FromMessage(OverwriteQuestion(QFileInfo(path).fileName().toStdString())),
                       Dialogs::Yes | Dialogs::No,
                       {QStringLiteral("Ναι"), QStringLiteral("Όχι")}) != Dialogs::Answer::Yes)
    return;

  // Made in memory and then written whole, so that a failed save leaves any
  // earlier file as it was. The paper is the default printer's.
  QByteArray pdf;
  {
    const WaitCursor busy;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    const QPrinter paper(QPrinter::HighResolution);
    QPdfWriter writer(&buffer);
    writer.setResolution(paper.resolution());
    writer.setPageLayout(paper.pageLayout());
    writer.setTitle(QFileInfo(path).completeBaseName());
    RenderPage(pageHtml_, writer);
  }
  try {
    WriteFileAtomically(QFile::encodeName(path).toStdString(),
                        std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())),
                        /*durable=*/true);
  } catch (const std::exception& error) {
    dialogs_.ShowWarning(FromMessage(SaveFailedMessage(error.what())));
  }
}

}  // namespace velmora
