#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kGridDelete = Greek("Διαγραφή εγγραφής;");

// Stores lines with the given tax numbers through the customer grid.
void StoreLines(Fixture& f, const QStringList& taxNumbers) {
  for (const QString& taxNumber : taxNumbers) {
    f.TypeLine(f.Grid(Side::Customers), f.AppendLine(Side::Customers), taxNumber);
    QVERIFY2(f.StoreLine(Side::Customers), qPrintable(f.dialogs.messages.join('|')));
  }
}

QStringList StoredTaxNumbers(Fixture& f) {
  QStringList taxNumbers;
  const QByteArray file = f.WorkingFile("record2");
  for (const QByteArray& line : file.split('\n'))
    if (line.size() > 15) taxNumbers.append(QString::fromLatin1(line.mid(6, 9)));
  return taxNumbers;
}

}  // namespace

class GridTest : public QObject {
  Q_OBJECT

 private slots:
  void appendInsertAndPositions();
  void untouchedNewRowIsDropped();
  void escapeCancelsThePendingChange();
  void tabWalksTheLinesAndCtrlTabLeaves();
  void deletionAsksFirst();
  void cellsHoldNoMoreThanTheirField();
  void mouseWheelMovesOneRowPerNotch();
  void navigatorButtonsOnlyWhenTheyCanAct();
  void cutCellsShowTheirTextAndWidthsAreKept();
};

void GridTest::appendInsertAndPositions() {
  Fixture f;
  f.NewStatement();
  StoreLines(f, {"111111111", "222222222", "333333333"});
  QCOMPARE(StoredTaxNumbers(f), QStringList({"111111111", "222222222", "333333333"}));

  // Insert puts the new line before the current one.
  RecordGrid* grid = f.Grid(Side::Customers);
  f.TypeIntoCell(grid, 1, 0, QString());
  f.Press(Qt::Key_Insert);
  QCOMPARE(grid->currentIndex().row(), 1);
  QCOMPARE(grid->model()->rowCount(), 4);
  f.TypeLine(grid, 1, QStringLiteral("444444444"));
  // Moving to another row stores it.
  f.Press(Qt::Key_Up);
  QCOMPARE(grid->currentIndex().row(), 0);
  QCOMPARE(StoredTaxNumbers(f), QStringList({"111111111", "444444444", "222222222", "333333333"}));
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("4 Εγγραφές (Πελάτες)"));

  // Editing an existing line rewrites it in place, as the same line.
  f.TypeIntoCell(grid, 2, 0, QStringLiteral("555555555"), false);
  f.Press(Qt::Key_Up);
  QCOMPARE(StoredTaxNumbers(f), QStringList({"111111111", "444444444", "555555555", "333333333"}));
  QCOMPARE(grid->model()->rowCount(), 4);
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void GridTest::untouchedNewRowIsDropped() {
  Fixture f;
  f.NewStatement();
  StoreLines(f, {"111111111"});
  RecordGrid* grid = f.Grid(Side::Customers);
  f.TypeIntoCell(grid, 0, 0, QString());
  f.Press(Qt::Key_Down);
  QCOMPARE(grid->model()->rowCount(), 2);
  // A second Down on the untouched row adds nothing more.
  f.Press(Qt::Key_Down);
  QCOMPARE(grid->model()->rowCount(), 2);
  // Leaving the grid drops the row once the focus has settled; the file never saw it.
  f.Box("retailSalesBox")->setFocus();
  QApplication::processEvents();
  QCOMPARE(grid->model()->rowCount(), 1);
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("1 Εγγραφές (Πελάτες)"));
  QCOMPARE(StoredTaxNumbers(f), QStringList({"111111111"}));
  // Moving up from an untouched new row drops it too.
  f.TypeIntoCell(grid, 0, 0, QString());
  f.Press(Qt::Key_Down);
  QCOMPARE(grid->model()->rowCount(), 2);
  f.Press(Qt::Key_Up);
  QCOMPARE(grid->model()->rowCount(), 1);
}

void GridTest::escapeCancelsThePendingChange() {
  Fixture f;
  f.NewStatement();
  StoreLines(f, {"111111111"});
  RecordGrid* grid = f.Grid(Side::Customers);
  f.TypeIntoCell(grid, 0, 0, QStringLiteral("999999999"));
  QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("999999999"));
  // Tab moved on without opening the next cell's editor: Escape cancels the
  // change of the line.
  QVERIFY(!grid->Editor());
  f.Press(Qt::Key_Escape);
  QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("111111111"));
  QCOMPARE(StoredTaxNumbers(f), QStringList({"111111111"}));

  // Escape on a typed new row removes it.
  f.TypeIntoCell(grid, f.AppendLine(Side::Customers), 0, QStringLiteral("222222222"));
  QCOMPARE(grid->model()->rowCount(), 2);
  f.Press(Qt::Key_Escape);
  f.Press(Qt::Key_Escape);
  QCOMPARE(grid->model()->rowCount(), 1);
  QCOMPARE(StoredTaxNumbers(f), QStringList({"111111111"}));
}

void GridTest::tabWalksTheLinesAndCtrlTabLeaves() {
  Fixture f;
  f.NewStatement();
  StoreLines(f, {"111111111", "222222222"});
  const QByteArray stored = f.WorkingFile("record2");
  RecordGrid* grid = f.Grid(Side::Customers);
  // From a middle line's last cell to the next line's first, no editor opened:
  // the next key typed cannot overwrite that line.
  f.TypeIntoCell(grid, 0, 9, QString());
  f.Press(Qt::Key_Tab);
  QCOMPARE(grid->currentIndex(), grid->model()->index(1, 0));
  QVERIFY(!grid->Editor());
  f.Press(Qt::Key_Backtab, Qt::ShiftModifier);
  QCOMPARE(grid->currentIndex(), grid->model()->index(0, 9));
  f.Press(Qt::Key_Tab);
  // Tab through every cell of the last line, then past its end: a new line.
  for (int column = 0; column < 10; ++column) f.Press(Qt::Key_Tab);
  QCOMPARE(grid->model()->rowCount(), 3);
  QCOMPARE(grid->currentIndex(), grid->model()->index(2, 0));
  QCOMPARE(f.WorkingFile("record2"), stored);
  // A line typed and left by Tab from its last cell is stored, and the next begins.
  f.Type(QStringLiteral("094019245"));
  for (const char* text : {"", "", "1", "", "", "", "", "2"}) {
    f.Press(Qt::Key_Tab);
    f.Type(QString::fromLatin1(text));
  }
  f.Press(Qt::Key_Tab);
  f.Type(QStringLiteral("3"));
  f.Press(Qt::Key_Tab);
  QCOMPARE(StoredTaxNumbers(f), QStringList({"111111111", "222222222", "094019245"}));
  QCOMPARE(grid->model()->rowCount(), 4);
  QVERIFY(f.dialogs.Problems().isEmpty());

  // Ctrl+Tab leaves the grid, from an open editor too, keeping what was typed.
  f.TypeIntoCell(grid, 0, 1, Greek("ΑΛΦΑ"), false);
  QVERIFY(grid->Editor());
  f.Press(Qt::Key_Tab, Qt::ControlModifier);
  QWidget* focus = QApplication::focusWidget();
  QVERIFY(focus && focus != grid && !grid->isAncestorOf(focus));
  QCOMPARE(grid->model()->index(0, 1).data().toString(), Greek("ΑΛΦΑ"));
}

void GridTest::deletionAsksFirst() {
  Fixture f;
  f.NewStatement();
  StoreLines(f, {"111111111", "222222222", "333333333"});
  RecordGrid* grid = f.Grid(Side::Customers);

  f.TypeIntoCell(grid, 1, 0, QString());
  f.DeleteCurrentLine(Side::Customers, Dialogs::Answer::No);
  QCOMPARE(StoredTaxNumbers(f).size(), 3);

  f.DeleteCurrentLine(Side::Customers, Dialogs::Answer::Yes);
  QCOMPARE(StoredTaxNumbers(f), QStringList({"111111111", "333333333"}));
  QCOMPARE(f.WorkingFile("record21"), f.WorkingFile("record2"));
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("2 Εγγραφές (Πελάτες)"));
  QCOMPARE(grid->currentIndex().row(), 1);

  // The keyboard's Ctrl+Delete asks the grid's own question.
  f.dialogs.Expect(kGridDelete, Dialogs::Answer::No);
  f.Press(Qt::Key_Delete, Qt::ControlModifier);
  QCOMPARE(StoredTaxNumbers(f).size(), 2);
  f.dialogs.Expect(kGridDelete, Dialogs::Answer::Yes);
  f.Press(Qt::Key_Delete, Qt::ControlModifier);
  // Deleting the last line makes the new last line current.
  QCOMPARE(StoredTaxNumbers(f), QStringList({"111111111"}));
  QCOMPARE(grid->currentIndex().row(), 0);

  f.DeleteCurrentLine(Side::Customers, Dialogs::Answer::Yes);
  QCOMPARE(f.WorkingFile("record2"), QByteArray());
  QCOMPARE(f.Label("customerCountLabel")->text(), Greek("0 Εγγραφές (Πελάτες)"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void GridTest::cellsHoldNoMoreThanTheirField() {
  Fixture f;
  f.NewStatement();
  RecordGrid* grid = f.Grid(Side::Customers);
  const int widths[] = {9, 27, 15, 1, 10, 16, 3, 5, 7, 16};
  int dropped = 0;
  for (int column = 0; column < 10; ++column) {
    f.TypeIntoCell(grid, 0, column, QString(30, QLatin1Char('1')), false);
    QVERIFY(grid->Editor());
    QCOMPARE(grid->Editor()->text().size(), widths[column]);
    dropped += 30 - widths[column];
    if (column < 9) f.Press(Qt::Key_Tab);
  }
  // Each character a full cell drops is refused aloud.
  QCOMPARE(f.dialogs.beeps, dropped);
  // A character the Greek code page cannot hold is refused with a beep.
  const int beeps = f.dialogs.beeps;
  f.TypeIntoCell(grid, 0, 1, Greek("Αä"), false);
  QCOMPARE(grid->Editor()->text(), Greek("Α"));
  QCOMPARE(f.dialogs.beeps, beeps + 1);
}

void GridTest::mouseWheelMovesOneRowPerNotch() {
  Fixture f;
  f.NewStatement();
  StoreLines(f, {"111111111", "222222222", "333333333"});
  RecordGrid* grid = f.Grid(Side::Customers);
  f.TypeIntoCell(grid, 0, 0, QString());
  auto turn = [](QWidget* under, QPoint delta) {
    const QPointF at(10, 10);
    QWheelEvent wheel(at, under->mapToGlobal(at), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(under, &wheel);
  };
  // Each turn, the row it leaves current: one row per whole notch (120),
  // parts of a notch added up, sideways swipes and empty turns ignored, no
  // line started past the last one.
  const struct {
    QPoint delta;
    int row;
  } turns[] = {
      {{0, -120}, 1}, {{0, -60}, 1}, {{0, -60}, 2},  {{0, -120}, 2}, {{-120, 0}, 2},
      {{120, 10}, 2}, {{0, 0}, 2},   {{0, 60}, 2},   {{0, -60}, 2},  {{0, 60}, 2},
      {{0, 60}, 1},   {{0, 480}, 0}, {{0, -240}, 2},
  };
  int step = 0;
  for (const auto& wheel : turns) {
    turn(grid->viewport(), wheel.delta);
    QVERIFY2(grid->currentIndex().row() == wheel.row, qPrintable(QString::number(step)));
    ++step;
  }
  QCOMPARE(grid->model()->rowCount(), 3);

  // A closed combo box under the pointer keeps its choice while another widget
  // has the focus.
  auto* offices = f.Find<QComboBox>("taxOfficeList");
  // A turn of the wheel would otherwise give it the focus first.
  QVERIFY(offices->focusPolicy() != Qt::WheelFocus);
  const int office = offices->currentIndex();
  turn(offices, {0, -120});
  QCOMPARE(offices->currentIndex(), office);
  QCOMPARE(grid->currentIndex().row(), 2);
}

void GridTest::navigatorButtonsOnlyWhenTheyCanAct() {
  Fixture f;
  f.NewStatement();
  RecordGrid* grid = f.Grid(Side::Customers);
  // First, last, insert, delete, store, cancel: a letter when enabled.
  auto enabled = [navigator = f.Find<QWidget>("customerNavigator")] {
    QString states;
    for (const char* name : {"firstLineButton", "lastLineButton", "insertLineButton",
                             "deleteLineButton", "storeLineButton", "cancelLineButton"}) {
      const bool on = navigator->findChild<QWidget*>(QLatin1String(name))->isEnabled();
      states += on ? QChar(QLatin1Char(name[0])).toUpper() : QChar(QLatin1Char('-'));
    }
    return states;
  };
  grid->setFocus();
  QCOMPARE(enabled(), QStringLiteral("--I---"));
  f.TypeLine(grid, 0, QStringLiteral("111111111"));
  QCOMPARE(enabled(), QStringLiteral("--I-SC"));
  QVERIFY(f.StoreLine(Side::Customers));
  QCOMPARE(enabled(), QStringLiteral("FLID--"));
  f.TypeIntoCell(grid, 0, 1, QStringLiteral("ALPHA"), false);
  QCOMPARE(enabled(), QStringLiteral("FLIDSC"));
  f.ClickNavigator(Side::Customers, "cancelLineButton");
  QCOMPARE(enabled(), QStringLiteral("FLID--"));
  QCOMPARE(grid->model()->index(0, 1).data().toString(), QString());
  f.DeleteCurrentLine(Side::Customers, Dialogs::Answer::Yes);
  QCOMPARE(enabled(), QStringLiteral("--I---"));
  QVERIFY(f.dialogs.Problems().isEmpty());
}

void GridTest::cutCellsShowTheirTextAndWidthsAreKept() {
  Fixture f;
  f.NewStatement();
  RecordGrid* grid = f.Grid(Side::Customers);
  const QString name = Greek("ΕΨΙΛΟΝ ΤΕΧΝΙΚΗ ΚΑΤΑΣΚΕΥΕΣ");
  f.TypeLine(grid, 0, QStringLiteral("111111111"), "1", "1234567", "12345678901234,56");
  f.TypeIntoCell(grid, 0, 1, name);
  f.TypeIntoCell(grid, 0, 7, QStringLiteral("11251"));
  QVERIFY(f.StoreLine(Side::Customers));
  // The window at its least width: the name's column is too narrow for it.
  f.window->resize(f.window->minimumSizeHint());
  QApplication::processEvents();
  grid->setColumnWidth(1, grid->fontMetrics().horizontalAdvance(name) / 2);
  auto tooltipAt = [grid](int column) {
    const QRect cell = grid->visualRect(grid->model()->index(0, column));
    QHelpEvent help(QEvent::ToolTip, cell.center(), grid->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(grid->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  // Tax number, postcode, invoices and value show whole: nothing to add.
  for (int column : {0, 7, 8, 9}) QCOMPARE(tooltipAt(column), QString());
  QCOMPARE(tooltipAt(1), name);

  // A width the user gives a column is remembered, and the window's width no
  // longer changes it.
  QCOMPARE(f.settings.ColumnWidths(Side::Customers).value(1), grid->columnWidth(1));
  const int dragged = grid->columnWidth(1);
  f.window->resize(f.window->width() + 200, f.window->height());
  QApplication::processEvents();
  QCOMPARE(grid->columnWidth(1), dragged);
}

QTEST_MAIN(GridTest)
#include "GridTest.moc"
