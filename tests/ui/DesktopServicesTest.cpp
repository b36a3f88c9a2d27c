#include <cerrno>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <csignal>

#include "SystemReason.h"
#include "AboutBox.h"
#include "ManualWindow.h"
#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

ManualWindow* ManualWindows(int* count) {
  ManualWindow* found = nullptr;
  *count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* manual = qobject_cast<ManualWindow*>(widget)) {
      found = manual;
      ++*count;
    }
  }
  return found;
}

QString ShownPage(ManualWindow* manual) {
  return manual->findChild<QTextBrowser*>(QStringLiteral("helpPage"))->source().fileName();
}

}  // namespace

class DesktopServicesTest : public QObject {
  Q_OBJECT

 private slots:
  void zipCopyOfASavedFile();
  void desktopLauncher();
  void authorityPages();
  void manualWindow();
  void aboutBox();
};

void DesktopServicesTest::zipCopyOfASavedFile() {
  Fixture f;
  QTemporaryDir folder;
  const QString source = folder.filePath(Greek("ΔΗΛΩΣΗ.PIS"));
  // Incompressible, so that a small limit on file size stops the archive's write.
  QByteArray data;
  quint32 state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1664525u + 1013904223u;
    data.append(static_cast<char>(state >> 24));
  }
  Write(source, data);

  // Available before any statement exists.
  QVERIFY(f.Action("zipCopyAction")->isEnabled());
  f.dialogs.ExpectOpenFile(source);
  f.dialogs.ExpectSaveFile(folder.filePath(Greek("ΔΗΛΩΣΗ.PIS")));
  f.Action("zipCopyAction")->trigger();
  QCOMPARE(f.dialogs.proposedNames, QStringList{Greek("ΔΗΛΩΣΗ.PIS")});
  const QString archive = source + QStringLiteral(".zip");
  const QByteArray first = Bytes(archive);
  QVERIFY(!first.isEmpty());
  QVERIFY(f.dialogs.messages.isEmpty() && f.dialogs.warnings.isEmpty());
  if (!QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-t"), archive});
    QVERIFY(unzip.waitForFinished());
    QCOMPARE(unzip.exitCode(), 0);
    QProcess extract;
    extract.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive});
    QVERIFY(extract.waitForFinished());
    QCOMPARE(extract.readAllStandardOutput(), data);
  }

  // Replacing asks first; a write that fails leaves the earlier archive whole.
  const QString question =
      Greek("Είστε σίγουρος ότι θέλετε να αντικαταστήσετε το αρχείο ΔΗΛΩΣΗ.PIS.zip;");
  f.dialogs.ExpectOpenFile(source);
  f.dialogs.ExpectSaveFile(folder.filePath(Greek("ΔΗΛΩΣΗ.PIS")));
  f.dialogs.Expect(question, Dialogs::Answer::Yes);
  rlimit saved{};
  QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64 * 1024;
  QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
  f.Action("zipCopyAction")->trigger();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  QCOMPARE(f.dialogs.captionsSeen, QStringList({Greek("Ναι"), Greek("Όχι")}));
  QCOMPARE(f.dialogs.warnings.size(), 1);
  QCOMPARE(f.dialogs.warnings[0], Greek("Δεν ήταν δυνατή η δημιουργία του συμπιεσμένου αρχείου ") +
                                      archive + QStringLiteral("\n") +
                                      QString::fromStdString(SystemReason(EFBIG)));
  QCOMPARE(Bytes(archive), first);
  QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2);

  f.dialogs.ExpectOpenFile(source);
  f.dialogs.ExpectSaveFile(folder.filePath(Greek("ΔΗΛΩΣΗ.PIS")));
  f.dialogs.Expect(question, Dialogs::Answer::No);
  f.Action("zipCopyAction")->trigger();
  QCOMPARE(Bytes(archive), first);
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void DesktopServicesTest::desktopLauncher() {
  Fixture f;
  const QString launcher = f.environment.DesktopFolder() + QStringLiteral("/Velmora.desktop");
  // Made twice: the first time into a desktop folder it makes, the second
  // replacing the first without asking.
  for (int i = 0; i < 2; ++i) {
    f.Action("desktopShortcutAction")->trigger();
    const QByteArray text = Bytes(launcher);
    QVERIFY(text.startsWith("[Desktop Entry]\n"));
    QVERIFY(text.contains("\nExec=\"" + QFile::encodeName(QCoreApplication::applicationFilePath()) +
                          "\" %f\n"));
    QVERIFY(QFileInfo(launcher).isExecutable());
    QVERIFY(f.Find<QStatusBar>("statusBar")->currentMessage().contains(launcher));
  }
  QVERIFY(f.dialogs.messages.isEmpty() && f.dialogs.warnings.isEmpty());
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void DesktopServicesTest::authorityPages() {
  Fixture f;
  QAction* site = f.Action("authoritySiteAction");
  QVERIFY(site->text().remove('&').startsWith(Greek("Σύνδεση με εξυπηρετητή Quorvane (")));
  site->trigger();
  // The submission page has no place in the menu; its key reaches it.
  QAction* submission = f.Action("onlineSubmissionAction");
  QVERIFY(!f.Find<QMenu>("toolsMenu")->actions().contains(submission));
  QTest::keyClick(f.window.get(), Qt::Key_G, Qt::ControlModifier);
  QCOMPARE(f.environment.urls.size(), 2);
  const QUrl siteUrl = f.environment.urls[0];
  QCOMPARE(siteUrl.scheme(), QStringLiteral("http"));
  QCOMPARE(siteUrl.path(), QStringLiteral("/"));
  QVERIFY(!siteUrl.host().isEmpty());
  QVERIFY(site->text().endsWith(QStringLiteral("(%1)").arg(siteUrl.host())));
  QCOMPARE(f.environment.urls[1].toString(),
           QStringLiteral("https://%1/test/ShowLoginVelmora").arg(siteUrl.host()));
  QVERIFY(f.dialogs.messages.isEmpty());
  // With no browser to take it, the address is shown to copy.
  f.environment.browserFound = false;
  site->trigger();
  QCOMPARE(f.dialogs.messages,
           QStringList(Greek("Δεν βρέθηκε πρόγραμμα περιήγησης. Η διεύθυνση είναι: ") +
                       siteUrl.toString()));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void DesktopServicesTest::manualWindow() {
  Fixture f;
  const QString help = f.environment.ProgramFolder() + QStringLiteral("/Help");
  QVERIFY(QDir().mkpath(help));
  const char* const pages[][2] = {{"setup.htm", "Οδηγίες εγκατάστασης"},
                                  {"usermanual.htm", "Οδηγίες χρήσης εφαρμογής"},
                                  {"oroi.htm", "Όροι χρήσης εφαρμογής"}};
  for (const auto& page : pages)
    Write(help + QLatin1Char('/') + QString::fromLatin1(page[0]),
          QByteArray("<html><head><meta charset=\"utf-8\"><title>") + page[1] +
              "</title></head><body><p>" + page[1] + "</p></body></html>");

  f.Action("manualAction")->trigger();
  int count = 0;
  ManualWindow* manual = ManualWindows(&count);
  QVERIFY(manual && manual->isVisible());
  QCOMPARE(manual->windowTitle(), Greek("Οδηγίες εφαρμογής"));
  QCOMPARE(manual->findChild<QLabel*>("chooseTopicLabel")->text(), Greek("Επιλέξτε θέμα:"));
  const char* const links[] = {"setupTopicLink", "manualTopicLink", "termsTopicLink"};
  auto* browser = manual->findChild<QTextBrowser*>(QStringLiteral("helpPage"));
  QCOMPARE(ShownPage(manual), QStringLiteral("setup.htm"));
  QCOMPARE(browser->documentTitle(), Greek(pages[0][1]));
  // Each topic, clicked, shows its page.
  for (int i = 2; i >= 0; --i) {
    auto* link = manual->findChild<QPushButton*>(QString::fromLatin1(links[i]));
    QCOMPARE(link->text(), Greek(pages[i][1]));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(ShownPage(manual), QString::fromLatin1(pages[i][0]));
    QCOMPARE(browser->toPlainText(), Greek(pages[i][1]));
  }

  // Printing the shown page; a failure is told.
  QStringList printed;
  manual->SetPagePrinter([&](const QTextDocument& page, QWidget*) {
    printed.append(page.toPlainText());
    return printed.size() == 1 ? ManualWindow::PrintResult::Printed
                               : ManualWindow::PrintResult::Failed;
  });
  auto* print = manual->findChild<QPushButton*>(QStringLiteral("printButton"));
  QCOMPARE(print->text(), Greek("Εκτύπωση"));
  QTest::mouseClick(manual->findChild<QPushButton*>(links[1]), Qt::LeftButton);
  QTest::mouseClick(print, Qt::LeftButton);
  QVERIFY(f.dialogs.warnings.isEmpty());
  QTest::mouseClick(print, Qt::LeftButton);
  QCOMPARE(printed, QStringList({Greek(pages[1][1]), Greek(pages[1][1])}));
  QCOMPARE(f.dialogs.warnings,
           QStringList{Greek("Υπήρξε ένα πρόβλημα κατά την εκτύπωση. Βεβαιωθείτε ότι έχετε "
                             "ορίσει κάποιον εκτυπωτή")});

  // F1 brings the one window back, normal again, on its first topic.
  manual->showMinimized();
  QApplication::setActiveWindow(f.window.get());
  QTest::keyClick(f.window.get(), Qt::Key_F1);
  QCOMPARE(ManualWindows(&count), manual);
  QCOMPARE(count, 1);
  QVERIFY(manual->isVisible());
  QVERIFY(!(manual->windowState() & Qt::WindowMinimized));
  QCOMPARE(ShownPage(manual), QStringLiteral("setup.htm"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void DesktopServicesTest::aboutBox() {
  Fixture f;
  QStringList seen;
  bool closed = false;
  for (int showing = 0; showing < 2; ++showing) {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen = {box->windowTitle()};
      for (const char* name : {"productLabel", "versionLabel", "purposeLabel"})
        seen.append(box->findChild<QLabel*>(name)->text());
      QVERIFY(!box->findChild<QLabel*>("aboutPicture")->pixmap().isNull());
      QCOMPARE(box->findChild<QPushButton*>("okButton")->text(), QStringLiteral("OK"));
      // Enter presses the default button, "OK", which closes the box.
      QTest::keyClick(box, Qt::Key_Return);
      closed = true;
    });
    f.Action("aboutAction")->trigger();
    QVERIFY(closed);
    closed = false;
  }
  QCOMPARE(seen,
           QStringList({Greek("Σχετικά"), QStringLiteral("Velmora 2009"), Greek("Έκδοση 1.0.0.0"),
                        Greek("Ηλεκτρονική Υποβολή Συγκεντρωτικών Καταστάσεων Πελατών - "
                              "Προμηθευτών ")}));
  // Each showing had a box of its own, gone once closed.
  QVERIFY(f.window->findChildren<AboutBox*>().isEmpty());
  QVERIFY(f.dialogs.Problems().isEmpty());
}

QTEST_MAIN(DesktopServicesTest)
#include "DesktopServicesTest.moc"
