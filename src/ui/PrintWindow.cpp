#include "PrintWindow.h"

#include <malloc.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QCloseEvent>
#include <QHideEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "Dialogs.h"
#include "GreekText.h"
#include "PageJob.h"
#include "PageView.h"
#include "PagePlan.h"
#include "PdfPageCounter.h"
#include "ProgressBox.h"
#include "Questions.h"
#include "SaveFailedMessage.h"
#include "StatementLayout.h"
#include "StatementPages.h"
#include "SubmissionWriter.h"

namespace velmora {

namespace {

constexpr int kPageViewWidth = 793;
constexpr int kPageViewHeight = 617;
constexpr double kZoomStep = 1.25;

// The wait cursor while the pages are measured, taken down however it ends.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

bool ChooseWithPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange);
  dialog.setMinMax(printer.fromPage(), printer.toPage());
  return dialog.exec() == QDialog::Accepted;
}

// The paper of the default printer, which the view and a PDF are laid out on.
QPageSize DefaultPaper() {
  static const QPageSize paper = QPrinter().pageLayout().pageSize();
  return paper;
}

QToolButton* PageButton(const QString& text, const QString& name, const char* objectName,
                        QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setToolTip(name);
  button->setAccessibleName(name);
  button->setObjectName(QLatin1String(objectName));
  button->setAutoRaise(true);
  return button;
}

QString Grouped(int number) {
  // The count as the pages' feet write it.
  const QString foot = FromMessage(PageNumberText(1, static_cast<std::size_t>(number)));
  return foot.mid(foot.lastIndexOf(QLatin1Char(' ')) + 1);
}

}  // namespace

PrintWindow::PrintWindow(Dialogs& dialogs, Questions& questions, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      dialogs_(dialogs),
      questions_(questions),
      choosePrinter_(ChooseWithPrintDialog) {
  setObjectName(QStringLiteral("printWindow"));
  setWindowTitle(QStringLiteral("Εκτύπωση"));

  pageView_ = new PageView(this);
  pageView_->setObjectName(QStringLiteral("printPageView"));
  pageView_->setAccessibleName(QStringLiteral("Σελίδες εκτύπωσης"));
  pageView_->setFixedSize(kPageViewWidth, kPageViewHeight);

  auto* first =
      PageButton(QStringLiteral("|◀"), QStringLiteral("Πρώτη σελίδα"), "firstPageButton", this);
  auto* previous = PageButton(QStringLiteral("◀"), QStringLiteral("Προηγούμενη σελίδα"),
                              "previousPageButton", this);
  auto* next =
      PageButton(QStringLiteral("▶"), QStringLiteral("Επόμενη σελίδα"), "nextPageButton", this);
  auto* last =
      PageButton(QStringLiteral("▶|"), QStringLiteral("Τελευταία σελίδα"), "lastPageButton", this);
  auto* zoomOut =
      PageButton(QStringLiteral("−"), QStringLiteral("Σμίκρυνση"), "zoomOutButton", this);
  auto* zoomIn = PageButton(QStringLiteral("+"), QStringLiteral("Μεγέθυνση"), "zoomInButton", this);
  pageNumber_ = new QSpinBox(this);
  pageNumber_->setObjectName(QStringLiteral("pageNumberBox"));
  pageNumber_->setAccessibleName(QStringLiteral("Σελίδα"));
  pageNumber_->setPrefix(QStringLiteral("Σελίδα "));
  pageNumber_->setGroupSeparatorShown(true);
  pageNumber_->setKeyboardTracking(false);
  pageCount_ = new QLabel(this);
  pageCount_->setObjectName(QStringLiteral("pageCountLabel"));
  connect(first, &QToolButton::clicked, this, [this] { pageView_->ShowPage(0); });
  connect(previous, &QToolButton::clicked, this, [this] {
    const std::size_t page = pageView_->CurrentPage();
    pageView_->ShowPage(page > 0 ? page - 1 : 0);
  });
  connect(next, &QToolButton::clicked, this,
          [this] { pageView_->ShowPage(pageView_->CurrentPage() + 1); });
  connect(last, &QToolButton::clicked, this,
          [this] { pageView_->ShowPage(pageView_->PageCount() - 1); });
  connect(zoomOut, &QToolButton::clicked, this,
          [this] { pageView_->SetZoom(pageView_->Zoom() / kZoomStep); });
  connect(zoomIn, &QToolButton::clicked, this,
          [this] { pageView_->SetZoom(pageView_->Zoom() * kZoomStep); });
  connect(pageNumber_, &QSpinBox::valueChanged, this, [this](int number) {
    if (number >= 1 && static_cast<std::size_t>(number - 1) != pageView_->CurrentPage())
      pageView_->ShowPage(static_cast<std::size_t>(number - 1));
  });
  connect(pageView_, &PageView::currentPageChanged, this, &PrintWindow::ShowPageNumber);

  printButton_ = new QPushButton(QStringLiteral("Εκτύπωση"), this);
  printButton_->setObjectName(QStringLiteral("printButton"));
  pdfButton_ = new QPushButton(QStringLiteral("Αποθήκευση σε PDF"), this);
  pdfButton_->setObjectName(QStringLiteral("savePdfButton"));
  connect(printButton_, &QPushButton::clicked, this, &PrintWindow::onPrint);
  connect(pdfButton_, &QPushButton::clicked, this, &PrintWindow::onSaveAsPdf);
  progress_ = new ProgressBox(this);

  auto* bar = new QHBoxLayout;
  for (QWidget* widget : std::initializer_list<QWidget*>{first, previous, pageNumber_, pageCount_,
                                                         next, last, zoomOut, zoomIn})
    bar->addWidget(widget);
  bar->addStretch(1);
  bar->addWidget(pdfButton_);
  bar->addWidget(printButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pageView_);
  layout->addLayout(bar);
  setFixedSize(sizeHint());
}

PrintWindow::~PrintWindow() = default;

QString PrintWindow::PrintFailedMessage() {
  return QStringLiteral(
      "Υπήρξε ένα πρόβλημα κατά την εκτύπωση. Βεβαιωθείτε ότι έχετε ορίσει κάποιον εκτυπωτή");
}

void PrintWindow::LoadStatement(const StatementPageInput& input) {
  const WaitCursor busy;
  pageView_->SetPages(nullptr);
  input_ = input;
  layout_ = std::make_unique<StatementLayout>(input_);
  pages_ = std::make_unique<StatementPages>(*layout_, DefaultPaper().size(QPageSize::Millimeter));
  const int count = static_cast<int>(pages_->PageCount());
  pageNumber_->setRange(1, count);
  pageCount_->setText(QStringLiteral("από ") + Grouped(count));
  pageView_->SetPages(pages_.get());
}

void PrintWindow::ShowPageNumber(int index) {
  const QSignalBlocker quiet(pageNumber_);
  pageNumber_->setValue(index + 1);
}

void PrintWindow::ShowModal() {
  setWindowModality(Qt::ApplicationModal);
  const QRect desktop = (screen() ? screen() : QApplication::primaryScreen())->availableGeometry();
  move(desktop.center() - rect().center());
  show();
  raise();
  activateWindow();
}

void PrintWindow::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // A window minimised keeps its pages; one closed lets them go.
  if (!event->spontaneous()) Release();
}

void PrintWindow::closeEvent(QCloseEvent* event) {
  if (working_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void PrintWindow::reject() {
  if (!working_) QDialog::reject();
}

void PrintWindow::Release() {
  pageView_->SetPages(nullptr);
  pages_.reset();
  layout_.reset();
  input_ = StatementPageInput();
  // The heap's freed pages go back to the system, not only to the allocator.
  malloc_trim(0);
}

void PrintWindow::onPrint() {
  if (!layout_) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setFullPage(true);
  printer.setDocName(QString::fromStdString(StatementPdfFileName(input_.side)));
  printer.setFromTo(1, static_cast<int>(pages_->PageCount()));
  if (!choosePrinter_(printer, this)) return;
  const QScopedValueRollback working(working_, true);
  QString problem;
  if (printer.isValid()) {
    QPageLayout paper = printer.pageLayout();
    paper.setUnits(QPageLayout::Millimeter);
    const StatementPages pages(*layout_, paper.fullRect().size(), paper.minimumMargins());
    std::size_t first = 0;
    std::size_t last = pages.PageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
      first = std::min(static_cast<std::size_t>(printer.fromPage() - 1), last);
      last = std::clamp(static_cast<std::size_t>(std::max(printer.toPage(), 1) - 1), first, last);
    }
    // A printer that makes the copies itself is sent the pages once.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    const PaintedPages painted =
        PaintPages(printer, pages, first, last, copies, [&](std::size_t done, std::size_t total) {
          if (progress_->Report(done, total)) return true;
          printer.abort();
          return false;
        });
    if (painted.stopped) return;
    const std::size_t expected = (last - first + 1) * static_cast<std::size_t>(std::max(copies, 1));
    std::size_t sent =
        painted.failed || printer.printerState() == QPrinter::Error ? 0 : painted.count;
    // Printed into a file, the file itself must hold the pages.
    if (sent > 0 && printer.outputFormat() == QPrinter::PdfFormat)
      sent = CountPdfPages(QFile::encodeName(printer.outputFileName()).toStdString()).value_or(0);
    if (sent == 0)
      problem = PrintFailedMessage();
    else if (sent != expected)
      problem = PrintFailedMessage() + QLatin1Char('\n') +
                FromMessage(PageShortfallMessage(sent, expected));
  } else {
    problem = PrintFailedMessage();
  }
  if (!problem.isEmpty()) dialogs_.ShowMessage(problem);
}

void PrintWindow::onSaveAsPdf() {
  if (!layout_) return;
  const auto chosen = questions_.ChooseSaveFile(
      FileKind::Pdf, Cp1253Text(StatementPdfFileName(input_.side)), "PDF (*.pdf)", {});
  if (!chosen) return;
  const QString path = QFile::decodeName(QByteArray::fromStdString(*chosen));
  if (QFileInfo::exists(path) &&
      dialogs_.AskUser(FromMessage(OverwriteQuestion(QFileInfo(path).fileName().toStdString())),
                       Dialogs::Yes | Dialogs::No,
                       {QStringLiteral("Ναι"), QStringLiteral("Όχι")}) != Dialogs::Answer::Yes)
    return;
  const QScopedValueRollback working(working_, true);
  try {
    WriteStatementPdf(
        *layout_, DefaultPaper(), *chosen, QFileInfo(path).completeBaseName(),
        [this](std::size_t done, std::size_t total) { return progress_->Report(done, total); });
  } catch (const std::exception& error) {
    dialogs_.ShowWarning(FromMessage(SaveFailedMessage(error.what())));
  }
}

}  // namespace velmora
