#include <cerrno>
#include <signal.h>
#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "SystemReason.h"
#include "Cp1253.h"
#include "FindDialog.h"
#include "LinesPage.h"
#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

struct TypedLine {
  const char* name;
  const char* taxNumber;
  const char* invoices;
  const char* value;
};

// Types and stores the lines, one below the other, into an empty grid.
void TypeLines(Fixture& f, Side side, std::initializer_list<TypedLine> lines) {
  RecordGrid* grid = f.Grid(side);
  int row = 0;
  for (const TypedLine& line : lines) {
    if (row > 0) row = f.AppendLine(side);
    f.TypeIntoCell(grid, row, 1, Greek(line.name));
    f.TypeLine(grid, row, QString::fromLatin1(line.taxNumber), "1", line.invoices, line.value);
    QVERIFY2(f.StoreLine(side), qPrintable(f.dialogs.messages.join('|')));
    ++row;
  }
}

// The grid's column of every row, as shown.
QStringList Column(Fixture& f, Side side, int column) {
  QStringList texts;
  QAbstractItemModel* model = f.Grid(side)->model();
  for (int row = 0; row < model->rowCount(); ++row)
    texts.append(model->index(row, column).data().toString());
  return texts;
}

QPushButton* SortButton(Fixture& f, Side side, SortKey key) {
  return f.Find<LinesPage>(side == Side::Customers ? "customerPage" : "supplierPage")
      ->sortButton(key);
}

QByteArray Cp1253Bytes(const char* utf8) {
  return QByteArray::fromStdString(Utf8ToCp1253(utf8).value());
}

// The line records of a submission file, in the file's order.
QList<QByteArray> LineRecords(const QString& path, char recordType) {
  QFile file(path);
  QList<QByteArray> records;
  if (!file.open(QIODevice::ReadOnly)) return records;
  for (const QByteArray& record : file.readAll().split('\n'))
    if (record.startsWith(recordType)) records.append(record);
  return records;
}

void TypeFiler(Fixture& f) {
  f.TypeInto(f.Box("yearBox"), QStringLiteral("2008"));
  f.ChooseTaxOffice(Greek("ΑΘΗΝΩΝ Α'"));
  f.TypeInto(f.Box("companyNameBox"), Greek("ΑΛΦΑ ΕΠΕ"));
  f.TypeInto(f.Box("taxNumberBox"), QStringLiteral("123456783"));
  f.TypeInto(f.Box("installationTypeBox"), QStringLiteral("E"));
}

// Files may grow no larger than limit bytes while it lives, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit reduced = saved_;
    reduced.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &reduced);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  sighandler_t oldHandler_;
};

FindDialog* OpenFind(Fixture& f) {
  f.Action("findAction")->trigger();
  auto* dialog = f.Find<FindDialog>("findDialog");
  if (dialog->isVisible()) {
    QApplication::setActiveWindow(dialog);
    if (!QTest::qWaitForWindowActive(dialog)) qWarning("the find dialog did not become active");
  }
  return dialog;
}

void BackToWindow(Fixture& f) {
  // Activations the hidden dialog asked for are delivered first.
  QApplication::processEvents();
  QApplication::setActiveWindow(f.window.get());
  if (!QTest::qWaitForWindowActive(f.window.get())) qWarning("window did not become active");
}

// "Εργαλεία" -> "Εύρεση...", the choices made, the text typed over the last one, "ΟΚ".
void Search(Fixture& f, FindField field, FindMatch match, const QString& text) {
  FindDialog* dialog = OpenFind(f);
  QVERIFY(dialog->isVisible());
  dialog
      ->findChild<QRadioButton*>(field == FindField::Name ? "findByNameButton"
                                                          : "findByTaxNumberButton")
      ->click();
  auto* whole = dialog->findChild<QCheckBox*>("wholeFieldBox");
  if (whole->isChecked() != (match == FindMatch::WholeField)) whole->click();
  f.Retype(dialog->findChild<QLineEdit*>("findTextBox"), text);
  QTest::mouseClick(dialog->findChild<QPushButton*>("findOkButton"), Qt::LeftButton);
  QVERIFY(!dialog->isVisible());
  BackToWindow(f);
}

int CurrentRow(Fixture& f, Side side) { return f.Grid(side)->currentIndex().row(); }

}  // namespace

class SortFindTest : public QObject {
  Q_OBJECT

 private slots:
  void sortingReordersTheLinesForGood();
  void aRefusedLineOrAFailedWriteKeepsTheOrder();
  void findLandsOnTheFirstMatchOfThePageOnView();
  void theFindDialogKeepsItsStateAndFiltersKeys();
};

void SortFindTest::sortingReordersTheLinesForGood() {
  QTemporaryDir folder;
  Fixture f;
  QVERIFY(!f.Action("findAction")->isEnabled());
  f.NewStatement();
  TypeFiler(f);
  TypeLines(f, Side::Customers,
            {{"ΓΑΜΜΑ", "300000001", "3", "30,5"},
             {"ΑΛΦΑ", "200000002", "1", "10"},
             {"ΒΗΤΑ", "100000003", "2", "20,25"}});
  QVERIFY(f.SaveAs(folder.filePath("before")));
  QVERIFY(!f.statement->Modified());
  const QString invoices = f.Box("customerInvoiceTotalBox")->text();
  const QString value = f.Box("customerValueTotalBox")->text();
  QCOMPARE(value, QStringLiteral("60,75"));
  QTest::mouseClick(
      f.Grid(Side::Customers)->viewport(), Qt::LeftButton, {},
      f.Grid(Side::Customers)->visualRect(f.Grid(Side::Customers)->model()->index(2, 1)).center());
  QCOMPARE(CurrentRow(f, Side::Customers), 2);

  QPushButton* byName = SortButton(f, Side::Customers, SortKey::ByName);
  QCOMPARE(byName->text(), Greek("Αλφαβητική Ταξινόμηση"));
  QCOMPARE(byName->toolTip(), Greek("Πατήστε για να ταξινομηθούν αλφαβητικά οι εγγραφές "));
  QCOMPARE(SortButton(f, Side::Customers, SortKey::ByTaxNumber)->text(),
           Greek("Ταξινόμηση Ανά ΑΦΜ"));
  QVERIFY(SortButton(f, Side::Customers, SortKey::ByTaxNumber)->toolTip().isEmpty());
  QVERIFY(SortButton(f, Side::Suppliers, SortKey::ByName)->toolTip().isEmpty());
  QTest::mouseClick(byName, Qt::LeftButton);

  // Each line keeps its own number and amounts; the grid stands on the first line.
  QCOMPARE(Column(f, Side::Customers, 1),
           QStringList({Greek("ΑΛΦΑ"), Greek("ΒΗΤΑ"), Greek("ΓΑΜΜΑ")}));
  QCOMPARE(Column(f, Side::Customers, 0), QStringList({"200000002", "100000003", "300000001"}));
  QCOMPARE(Column(f, Side::Customers, 8), QStringList({"1", "2", "3"}));
  QCOMPARE(Column(f, Side::Customers, 9), QStringList({"10", "20,25", "30,5"}));
  QCOMPARE(CurrentRow(f, Side::Customers), 0);
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("3 Εγγραφές (Πελάτες)"));
  QCOMPARE(f.Box("customerInvoiceTotalBox")->text(), invoices);
  QCOMPARE(f.Box("customerValueTotalBox")->text(), value);
  QVERIFY(f.statement->Modified());
  QVERIFY(!f.Find<QWidget>("waitBox")->isVisible());
  const QList<QByteArray> working = f.WorkingFile("record2").split('\n');
  QVERIFY(working[0].startsWith("2     200000002" + Cp1253Bytes("ΑΛΦΑ")));
  QVERIFY(working[2].startsWith("2     300000001" + Cp1253Bytes("ΓΑΜΜΑ")));

  // The submission file numbers the lines in their new order.
  const QString sorted = folder.filePath("sorted");
  QVERIFY(f.SaveAs(sorted));
  QList<QByteArray> records = LineRecords(sorted, '2');
  QCOMPARE(records.size(), 3);
  QVERIFY(records[0].startsWith("200001200000002" + Cp1253Bytes("ΑΛΦΑ")));
  QVERIFY(records[1].startsWith("200002100000003" + Cp1253Bytes("ΒΗΤΑ")));
  QVERIFY(records[2].startsWith("200003300000001" + Cp1253Bytes("ΓΑΜΜΑ")));

  QTest::mouseClick(SortButton(f, Side::Customers, SortKey::ByTaxNumber), Qt::LeftButton);
  QCOMPARE(Column(f, Side::Customers, 1),
           QStringList({Greek("ΒΗΤΑ"), Greek("ΑΛΦΑ"), Greek("ΓΑΜΜΑ")}));
  QVERIFY(f.statement->Modified());
  // Closing now asks about the unsaved order.
  f.dialogs.Expect(UnsavedChangesQuestion(), Dialogs::Answer::Cancel);
  QVERIFY(!f.Exit());
  QVERIFY(f.dialogs.warnings.isEmpty());
  QVERIFY2(f.dialogs.Problems().isEmpty(), qPrintable(f.dialogs.Problems().join('|')));
}

void SortFindTest::aRefusedLineOrAFailedWriteKeepsTheOrder() {
  Fixture f;
  f.NewStatement();
  TypeLines(f, Side::Customers,
            {{"ΓΑΜΜΑ", "300000001", "3", "30,5"}, {"ΑΛΦΑ", "200000002", "1", "10"}});
  const QByteArray before = f.WorkingFile("record2");
  const QStringList names = Column(f, Side::Customers, 1);
  f.statement->SetModified(false);

  // A line being typed without its value is refused, and nothing else happens.
  const int row = f.AppendLine(Side::Customers);
  f.TypeIntoCell(f.Grid(Side::Customers), row, 0, QStringLiteral("400000004"), false);
  f.statement->SetModified(false);
  const qsizetype shown = f.dialogs.messages.size();
  QTest::mouseClick(SortButton(f, Side::Customers, SortKey::ByName), Qt::LeftButton);
  QCOMPARE(f.dialogs.messages.size(), shown + 1);
  QCOMPARE(f.dialogs.messages.last(),
           Greek("Πρέπει να συμπληρώσετε τα πεδία ΑΦΜ, Υπόχρεος, Αριθ. τιμολογίων, Αξία"));
  QCOMPARE(f.WorkingFile("record2"), before);
  QCOMPARE(CurrentRow(f, Side::Customers), row);
  QVERIFY(!f.statement->Modified());
  f.Press(Qt::Key_Escape);
  f.Press(Qt::Key_Escape);
  QCOMPARE(f.Grid(Side::Customers)->model()->rowCount(), 2);

  // A working file that cannot be written keeps the old order on disk and on screen.
  {
    const FileSizeLimit limit(200);
    QTest::mouseClick(SortButton(f, Side::Customers, SortKey::ByName), Qt::LeftButton);
  }
  QCOMPARE(f.dialogs.warnings.size(), 1);
  QVERIFY(f.dialogs.warnings[0].startsWith(Greek("Η ταξινόμηση δεν έγινε")));
  QVERIFY(f.dialogs.warnings[0].contains(QString::fromStdString(SystemReason(EFBIG))));
  QCOMPARE(f.WorkingFile("record2"), before);
  QCOMPARE(Column(f, Side::Customers, 1), names);
  QVERIFY(!f.statement->Modified());
  QVERIFY(!f.Find<QWidget>("waitBox")->isVisible());
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void SortFindTest::findLandsOnTheFirstMatchOfThePageOnView() {
  Fixture f;
  f.NewStatement();
  TypeLines(f, Side::Customers,
            {{"ΑΛΦΑΒΗΤΟ", "100000003", "1", "1"},
             {"ΑΛΦΑ", "123456783", "1", "1"},
             {"ΒΗΤΑ", "200000002", "1", "1"},
             {"", "300000001", "1", "1"}});
  f.ShowPage(1);
  TypeLines(f, Side::Suppliers,
            {{"ΔΕΛΤΑ", "555555555", "1", "1"}, {"ΑΛΦΑ", "666666666", "1", "1"}});
  f.ShowPage(0);
  BackToWindow(f);
  QCOMPARE(f.Find<QMenu>("toolsMenu")->actions().first(), f.Action("findAction"));
  QCOMPARE(f.Action("findAction")->text().remove('&'), Greek("Εύρεση..."));
  QCOMPARE(f.Action("findAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
  QVERIFY(f.Action("findAction")->isEnabled());

  // Whole field or beginning, for the tax number.
  Search(f, FindField::TaxNumber, FindMatch::WholeField, QStringLiteral("12345"));
  QCOMPARE(f.dialogs.warnings, QStringList({Greek("Δεν βρέθηκε ο ΑΦΜ")}));
  QCOMPARE(CurrentRow(f, Side::Customers), 0);
  Search(f, FindField::TaxNumber, FindMatch::Beginning, QStringLiteral("12345"));
  QCOMPARE(CurrentRow(f, Side::Customers), 1);
  Search(f, FindField::TaxNumber, FindMatch::WholeField, QStringLiteral("200000002"));
  QCOMPARE(CurrentRow(f, Side::Customers), 2);

  // Names: the first match in stored order, letter case exact.
  Search(f, FindField::Name, FindMatch::WholeField, Greek("ΑΛΦΑ"));
  QCOMPARE(CurrentRow(f, Side::Customers), 1);
  Search(f, FindField::Name, FindMatch::Beginning, Greek("ΑΛΦΑ"));
  QCOMPARE(CurrentRow(f, Side::Customers), 0);
  // Small letters typed become capitals, as the names are kept.
  Search(f, FindField::Name, FindMatch::Beginning, Greek("βη"));
  QCOMPARE(CurrentRow(f, Side::Customers), 2);
  // Not found: the warning, and the first line even though another was current.
  Search(f, FindField::Name, FindMatch::Beginning, Greek("ΩΜΕΓΑ"));
  QCOMPARE(f.dialogs.warnings.last(), Greek("Δεν βρέθηκε η Επωνυμία"));
  QCOMPARE(f.dialogs.warnings.size(), 2);
  QCOMPARE(CurrentRow(f, Side::Customers), 0);

  // An empty text: any line from its beginning, or the first line with no name.
  Search(f, FindField::Name, FindMatch::WholeField, QString());
  QCOMPARE(CurrentRow(f, Side::Customers), 3);
  Search(f, FindField::Name, FindMatch::Beginning, QString());
  QCOMPARE(CurrentRow(f, Side::Customers), 0);

  // The suppliers' page is searched alone, and the customers' grid stays.
  Search(f, FindField::TaxNumber, FindMatch::WholeField, QStringLiteral("200000002"));
  QCOMPARE(CurrentRow(f, Side::Customers), 2);
  f.ShowPage(1);
  BackToWindow(f);
  Search(f, FindField::Name, FindMatch::WholeField, Greek("ΑΛΦΑ"));
  QCOMPARE(CurrentRow(f, Side::Suppliers), 1);
  Search(f, FindField::TaxNumber, FindMatch::WholeField, QStringLiteral("200000002"));
  QCOMPARE(f.dialogs.warnings.size(), 3);
  QCOMPARE(CurrentRow(f, Side::Suppliers), 0);
  QCOMPARE(CurrentRow(f, Side::Customers), 2);
  QCOMPARE(f.Find<QTabWidget>("pages")->currentIndex(), 1);
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void SortFindTest::theFindDialogKeepsItsStateAndFiltersKeys() {
  Fixture f;
  f.NewStatement();
  TypeLines(f, Side::Customers, {{"ΑΛΦΑ", "100000003", "1", "1"}, {"ΒΗΤΑ", "200000002", "1", "1"}});

  // At first use: "ΑΦΜ", an empty text, "Μόνο ολόκληρες λέξεις" ticked.
  FindDialog* dialog = OpenFind(f);
  QVERIFY(dialog->isVisible());
  QVERIFY(dialog->isModal());
  QCOMPARE(dialog->windowTitle(), Greek("Εύρεση"));
  auto* byTaxNumber = dialog->findChild<QRadioButton*>("findByTaxNumberButton");
  auto* byName = dialog->findChild<QRadioButton*>("findByNameButton");
  auto* box = dialog->findChild<QLineEdit*>("findTextBox");
  auto* whole = dialog->findChild<QCheckBox*>("wholeFieldBox");
  auto* ok = dialog->findChild<QPushButton*>("findOkButton");
  auto* cancel = dialog->findChild<QPushButton*>("findCancelButton");
  QCOMPARE(byTaxNumber->text(), Greek("ΑΦΜ"));
  QCOMPARE(byName->text(), Greek("Επωνυμία"));
  QCOMPARE(whole->text(), Greek("Μόνο ολόκληρες λέξεις"));
  QCOMPARE(ok->text(), Greek("ΟΚ"));
  QVERIFY(ok->isDefault());
  QCOMPARE(cancel->text(), Greek("Ακύρωση"));
  QVERIFY(byTaxNumber->isChecked());
  QVERIFY(whole->isChecked());
  QVERIFY(box->text().isEmpty());
  QCOMPARE(QApplication::focusWidget(), box);
  const int beeps = f.dialogs.beeps;

  // "ΑΦΜ": digits only, nine at most, and a full box takes no more without a beep.
  f.Type(QStringLiteral("12a3"));
  QCOMPARE(box->text(), QStringLiteral("123"));
  QCOMPARE(f.dialogs.beeps, beeps + 1);
  f.Type(QStringLiteral("4567890"));
  QCOMPARE(box->text(), QStringLiteral("123456789"));
  QCOMPARE(f.dialogs.beeps, beeps + 1);
  f.Type(QStringLiteral("x"));
  QCOMPARE(f.dialogs.beeps, beeps + 2);
  // "Επωνυμία": every key, the nine digits kept, 27 characters at most.
  byName->click();
  box->setFocus();
  f.Press(Qt::Key_End);
  f.Type(Greek("ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣ1"));
  QCOMPARE(box->text(), QStringLiteral("123456789") + Greek("ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣ"));
  QCOMPARE(f.dialogs.beeps, beeps + 2);
  // Back to "ΑΦΜ": the long text is not cut, and backspace still works.
  byTaxNumber->click();
  box->setFocus();
  f.Press(Qt::Key_End);
  f.Type(QStringLiteral("5"));
  QCOMPARE(box->text().size(), 27);
  f.Press(Qt::Key_Backspace);
  QCOMPARE(box->text().size(), 26);

  // "Ακύρωση" searches nothing, and the dialog keeps what was left in it.
  f.Retype(box, QStringLiteral("200000002"));
  whole->click();
  QTest::mouseClick(cancel, Qt::LeftButton);
  QVERIFY(!dialog->isVisible());
  BackToWindow(f);
  QCOMPARE(CurrentRow(f, Side::Customers), 1);
  f.Grid(Side::Customers)->DoAction(RecordGrid::Action::First);
  QVERIFY(f.dialogs.warnings.isEmpty());
  OpenFind(f);
  QCOMPARE(box->text(), QStringLiteral("200000002"));
  QVERIFY(byTaxNumber->isChecked());
  QVERIFY(!whole->isChecked());
  // Closing by the close box counts as "Ακύρωση" too.
  dialog->close();
  BackToWindow(f);
  QCOMPARE(CurrentRow(f, Side::Customers), 0);
  // "ΟΚ" as it stands.
  OpenFind(f);
  QTest::mouseClick(ok, Qt::LeftButton);
  BackToWindow(f);
  QCOMPARE(CurrentRow(f, Side::Customers), 1);

  // A line that its checks refuse keeps the dialog away.
  const int row = f.AppendLine(Side::Customers);
  f.TypeIntoCell(f.Grid(Side::Customers), row, 0, QStringLiteral("400000004"), false);
  f.Action("findAction")->trigger();
  QVERIFY(!dialog->isVisible());
  QCOMPARE(f.dialogs.messages.last(),
           Greek("Πρέπει να συμπληρώσετε τα πεδία ΑΦΜ, Υπόχρεος, Αριθ. τιμολογίων, Αξία"));
  QCOMPARE(CurrentRow(f, Side::Customers), row);
  QVERIFY(f.dialogs.Problems().isEmpty());
}

QTEST_MAIN(SortFindTest)
#include "SortFindTest.moc"
