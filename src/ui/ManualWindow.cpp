#include "ManualWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>

#include "AccessibleNames.h"

namespace velmora {

namespace {

struct Topic {
  const char* objectName;
  const char* caption;
  const char* file;
};

constexpr Topic kTopics[] = {
    {"setupTopicLink", "Οδηγίες εγκατάστασης", "setup.htm"},
    {"manualTopicLink", "Οδηγίες χρήσης εφαρμογής", "usermanual.htm"},
    {"termsTopicLink", "Όροι χρήσης εφαρμογής", "oroi.htm"},
};

// Lays the page out on the printer's pages and draws them one by one, so that a
// printer that cannot be opened is noticed instead of silently printing nothing.
ManualWindow::PrintResult PrintThroughDialog(const QTextDocument& page, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return ManualWindow::PrintResult::Cancelled;
  QPainter painter;
  if (!painter.begin(&printer)) return ManualWindow::PrintResult::Failed;
  std::unique_ptr<QTextDocument> copy(page.clone());
  copy->documentLayout()->setPaintDevice(&printer);
  const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
  copy->setPageSize(area);
  for (int index = 0; index < copy->pageCount(); ++index) {
    if (index > 0 && !printer.newPage()) return ManualWindow::PrintResult::Failed;
    const QRectF shown(0, index * area.height(), area.width(), area.height());
    painter.save();
    painter.translate(0, -shown.top());
    copy->drawContents(&painter, shown);
    painter.restore();
  }
  return painter.end() ? ManualWindow::PrintResult::Printed : ManualWindow::PrintResult::Failed;
}

}  // namespace

ManualWindow::ManualWindow(const QString& helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      helpFolder_(helpFolder),
      printer_(PrintThroughDialog) {
  setObjectName(QStringLiteral("manualWindow"));
  setWindowTitle(QStringLiteral("Οδηγίες εφαρμογής"));
  InstallWindowRoles();
  setAccessibleName(windowTitle());
  // Open manual or not, closing the main window ends the program.
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* topics = new QVBoxLayout;
  auto* choose = new QLabel(QStringLiteral("Επιλέξτε θέμα:"), this);
  choose->setObjectName(QStringLiteral("chooseTopicLabel"));
  topics->addWidget(choose);
  for (int index = 0; index < static_cast<int>(std::size(kTopics)); ++index) {
    // A flat button drawn as a link: reachable with Tab and read out as a command.
    auto* link = new QPushButton(QString::fromUtf8(kTopics[index].caption), this);
    link->setObjectName(QString::fromLatin1(kTopics[index].objectName));
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet(
        QStringLiteral("QPushButton { color: palette(link); font-weight: bold; "
                       "text-decoration: underline; text-align: left; "
                       "border: none; padding: 2px; }"));
    connect(link, &QPushButton::clicked, this, [this, index] { ShowTopic(index); });
    topics->addWidget(link);
  }
  topics->addSpacing(20);
  auto* print = new QPushButton(QStringLiteral("Εκτύπωση"), this);
  print->setObjectName(QStringLiteral("printButton"));
  connect(print, &QPushButton::clicked, this, &ManualWindow::Print);
  topics->addWidget(print, 0, Qt::AlignLeft);
  topics->addStretch(1);

  page_ = new QTextBrowser(this);
  page_->setObjectName(QStringLiteral("helpPage"));
  page_->setAccessibleName(windowTitle());

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(topics);
  layout->addWidget(page_, 1);
  setFixedSize(900, 640);
  ShowTopic(0);
}

void ManualWindow::ShowTopic(int topic) {
  page_->setSource(QUrl::fromLocalFile(helpFolder_ + QLatin1Char('/') +
                                       QString::fromLatin1(kTopics[topic].file)));
}

void ManualWindow::ShowFirstTopic() {
  ShowTopic(0);
  if (!placed_) {
    move(QApplication::primaryScreen()->availableGeometry().center() - rect().center());
    placed_ = true;
  }
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void ManualWindow::Print() {
  if (printer_(*page_->document(), this) == PrintResult::Failed) emit printFailed();
}

}  // namespace velmora
