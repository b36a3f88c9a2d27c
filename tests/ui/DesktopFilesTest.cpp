#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "FindDialog.h"
#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file dragged from a file manager and let go over that widget.
void Drop(QWidget* target, const QString& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  const QPoint where = target->rect().center();
  QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  QVERIFY(drop.isAccepted());
  // What the drop starts runs once the drop has ended.
  QCoreApplication::processEvents();
}

int VisibleRows(RecordGrid* grid) {
  return grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize();
}

}  // namespace

class DesktopFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void textFieldsTakeCapitals();
  void dialogsStartWhereTheLastFileOfTheirKindWas();
  void saveWritesOverTheStatementsOwnFile();
  void filesFromTheDesktopOpenAsThroughTheMenu();
  void theWindowGrowsAndItsGridsWithIt();

 private:
  QTemporaryDir folder_;
};

void DesktopFilesTest::textFieldsTakeCapitals() {
  Fixture f;
  f.NewStatement();
  struct Case {
    QLineEdit* box;
    const char* typed;
    const char* kept;
  };
  const Case cases[] = {
      {f.Box("companyNameBox"), "εψιλον ae", "ΕΨΙΛΟΝ AE"},
      {f.Box("professionBox"), "εμπόριο ς", "ΕΜΠΌΡΙΟ Σ"},
      {f.Box("streetBox"), "οδός ΐ", "ΟΔΌΣ ΐ"},
      {f.Box("emailBox"), "info@velmora.gr", "info@velmora.gr"},
      {f.Box("installationTypeBox"), "ε", "E"},
  };
  for (const Case& c : cases) {
    f.Retype(c.box, Greek(c.typed));
    QCOMPARE(c.box->text(), Greek(c.kept));
  }
  // Pasted text too.
  f.Retype(f.Box("townBox"), QString());
  f.Paste(Greek("αθήνα"));
  QCOMPARE(f.Box("townBox")->text(), Greek("ΑΘΉΝΑ"));

  // The grid's text cells, not its number cells.
  RecordGrid* grid = f.Grid(Side::Customers);
  f.TypeIntoCell(grid, 0, 1, Greek("άλφα"));
  f.TypeIntoCell(grid, 0, 4, Greek("πάτρα"));
  QCOMPARE(grid->model()->index(0, 1).data().toString(), Greek("ΆΛΦΑ"));
  QCOMPARE(grid->model()->index(0, 4).data().toString(), Greek("ΠΆΤΡΑ"));

  f.Action("findAction")->trigger();
  auto* find = f.window->findChild<FindDialog*>();
  f.Activate(find);
  auto* findBox = find->findChild<QLineEdit*>(QStringLiteral("findTextBox"));
  find->findChild<QRadioButton*>(QStringLiteral("findByNameButton"))->click();
  f.Retype(findBox, Greek("βήτα"));
  QCOMPARE(findBox->text(), Greek("ΒΉΤΑ"));
  find->reject();
}

void DesktopFilesTest::dialogsStartWhereTheLastFileOfTheirKindWas() {
  const QString saved = folder_.filePath(QStringLiteral("statements/2008-A"));
  QVERIFY(QDir().mkpath(folder_.filePath(QStringLiteral("statements"))));
  {
    Fixture f;
    f.TypeStatement();
    QVERIFY(f.SaveAs(saved));
    // The first dialog starts in the documents folder; the next where the file went.
    QCOMPARE(f.dialogs.folders.first(), f.environment.DocumentsFolder());
    f.dialogs.ExpectChoice(Greek("Θέλετε να εισάγετε τιμολόγια Πελατών ή Προμηθευτών;"), 2);
    f.Action("importAction")->trigger();
    f.dialogs.ExpectOpenFile(QString());
    f.Action("openAction")->trigger();
    QCOMPARE(f.dialogs.folders.last(), folder_.filePath(QStringLiteral("statements")));
    // The ZIP copy is proposed beside the file it packs.
    f.dialogs.ExpectOpenFile(saved);
    f.dialogs.ExpectSaveFile(QString());
    f.Action("zipCopyAction")->trigger();
    QCOMPARE(f.dialogs.folders.last(), folder_.filePath(QStringLiteral("statements")));
    QCOMPARE(f.settings.RecentStatements(), QStringList({saved}));
    QVERIFY(f.dialogs.Problems().isEmpty());
  }
  // Kept for the next run; a folder that has gone falls back to the documents.
  Fixture again;
  again.settings.SetLastFolder(FileKind::Statement, folder_.filePath(QStringLiteral("gone")));
  again.dialogs.ExpectOpenFile(QString());
  again.Action("openAction")->trigger();
  QCOMPARE(again.dialogs.folders.last(), again.environment.DocumentsFolder());
}

void DesktopFilesTest::saveWritesOverTheStatementsOwnFile() {
  const QString path = folder_.filePath(QStringLiteral("own"));
  Fixture f;
  f.TypeStatement();
  // No file yet: "Αποθήκευση" asks for one, as "Αποθήκευση ως..." does.
  f.dialogs.ExpectSaveFile(path);
  QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
  QVERIFY(QFile::exists(path));
  QCOMPARE(f.window->windowTitle(), QStringLiteral("own[*] — Velmora 2009"));
  QVERIFY(!f.window->isWindowModified());

  f.Activate();
  f.Retype(f.Box("townBox"), Greek("ΛΑΡΙΣΑ"));
  QVERIFY(f.window->isWindowModified());
  const qsizetype messages = f.dialogs.messages.size();
  QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
  QVERIFY(ReadAll(path).contains(QByteArray("\xcb\xc1\xd1\xc9\xd3\xc1")));  // ΛΑΡΙΣΑ
  QVERIFY(!f.window->isWindowModified());
  QCOMPARE(f.dialogs.messages.size(), messages);
  QVERIFY(f.Find<QStatusBar>("statusBar")->currentMessage().contains(path));

  // The checks of a save still come first, and nothing is written.
  const QByteArray before = ReadAll(path);
  f.Activate();
  f.Retype(f.Box("yearBox"), QString());
  QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
  QVERIFY(f.dialogs.messages.last().contains(Greek("Γράψτε το έτος")));
  QCOMPARE(ReadAll(path), before);
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void DesktopFilesTest::filesFromTheDesktopOpenAsThroughTheMenu() {
  const QString path = folder_.filePath(QStringLiteral("dropped"));
  {
    Fixture f;
    f.TypeStatement();
    QVERIFY(f.SaveAs(path));
  }
  // Given on the command line.
  Fixture f;
  f.window->OpenFile(path);
  QVERIFY(!f.Find<QWidget>("startPanel")->isVisible());
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("2 Εγγραφές (Πελάτες)"));
  f.Activate();

  // Dropped on a grid, over unsaved changes: the question first.
  f.Retype(f.Box("townBox"), Greek("ΒΟΛΟΣ"));
  f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::No);
  Drop(f.Grid(Side::Customers)->viewport(), path);
  QCOMPARE(f.Box("townBox")->text(), Greek("ΑΘΗΝΑ"));

  // A file that cannot be read is told as "Άνοιγμα" tells it.
  const QString missing = folder_.filePath(QStringLiteral("missing"));
  // Opening leaves the mark of changes as it was: the question comes again.
  f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::No);
  f.window->OpenFile(missing);
  QCOMPARE(f.dialogs.messages.size(), 1);

  // A recent file that has gone is said and taken off the list.
  const QString copy = folder_.filePath(QStringLiteral("copy"));
  QVERIFY(QFile::copy(path, copy));
  f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::No);
  f.window->OpenFile(copy);
  QCOMPARE(f.settings.RecentStatements(), QStringList({copy, path}));
  QVERIFY(QFile::remove(copy));
  const QList<QAction*> recent = f.Find<QMenu>("recentMenu")->actions();
  QCOMPARE(recent.size(), 2);
  recent.first()->trigger();
  QVERIFY(f.dialogs.messages.last().contains(copy));
  QCOMPARE(f.settings.RecentStatements(), QStringList({path}));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void DesktopFilesTest::theWindowGrowsAndItsGridsWithIt() {
  Fixture f;
  f.NewStatement();
  f.window->resize(f.window->minimumSizeHint());
  QApplication::processEvents();
  const QSize least = f.window->size();
  const int rows = VisibleRows(f.Grid(Side::Customers));
  f.window->resize(least + QSize(400, 300));
  QApplication::processEvents();
  QVERIFY(VisibleRows(f.Grid(Side::Customers)) > rows + 5);
  QVERIFY(f.Grid(Side::Customers)->width() > least.width());
  // Never below the size the fields were laid out for.
  f.window->resize(400, 300);
  QApplication::processEvents();
  QVERIFY(f.window->width() >= least.width() && f.window->height() >= least.height());
}

QTEST_MAIN(DesktopFilesTest)
#include "DesktopFilesTest.moc"
