#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace velmora::test {

void TestDialogs::Expect(const QString& question, Answer answer) {
  script_.push_back({question, answer});
}

Dialogs::Answer TestDialogs::AskUser(const QString& message, Buttons, const QStringList& captions) {
  captionsSeen = captions;
  if (script_.empty() || script_.front().question != message) {
    unexpected_.append(QStringLiteral("unexpected question: ") + message);
    return Answer::Cancel;
  }
  const Answer answer = script_.front().answer;
  script_.pop_front();
  return answer;
}

std::optional<std::size_t> TestDialogs::AskChoice(const QString& message,
                                                  const QStringList& captions) {
  captionsSeen = captions;
  if (choices_.empty() || choices_.front().first != message) {
    unexpected_.append(QStringLiteral("unexpected choice: ") + message);
    return std::nullopt;
  }
  const auto choice = choices_.front().second;
  choices_.pop_front();
  return choice;
}

QString TestDialogs::ChooseOpenFile(const QString& folder, const QString&) {
  folders.append(folder);
  if (whileChoosingFile) whileChoosingFile();
  if (openFiles_.empty()) {
    unexpected_.append(QStringLiteral("unexpected open dialog"));
    return {};
  }
  QString path = openFiles_.front();
  openFiles_.pop_front();
  return path;
}

QString TestDialogs::ChooseSaveFile(const QString& folder, const QString& proposedName,
                                    const QString&) {
  folders.append(folder);
  proposedNames.append(proposedName);
  if (saveFiles_.empty()) {
    unexpected_.append(QStringLiteral("unexpected save dialog"));
    return {};
  }
  QString path = saveFiles_.front();
  saveFiles_.pop_front();
  return path;
}

QStringList TestDialogs::Problems() const {
  QStringList problems = unexpected_;
  for (const Scripted& s : script_) problems.append(QStringLiteral("never asked: ") + s.question);
  for (const auto& choice : choices_)
    problems.append(QStringLiteral("never asked: ") + choice.first);
  for (const QString& path : saveFiles_) problems.append(QStringLiteral("never saved: ") + path);
  for (const QString& path : openFiles_) problems.append(QStringLiteral("never opened: ") + path);
  return problems;
}

QString Greek(const char* utf8) { return QString::fromUtf8(utf8); }

QString UnsavedChangesQuestion() {
  return Greek("Έχετε κάνει αλλαγές. Θέλετε να αποθηκευτούν σε αρχείο;");
}

QString DeleteLineQuestion() { return Greek("Είστε σίγουρος;"); }

namespace {

QWidget* FocusedWidget() {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) qFatal("nothing has the keyboard focus");
  return focus;
}

}  // namespace

Fixture::Fixture() {
  statement =
      std::make_unique<Statement>(QFile::encodeName(environment.WorkingBaseFolder()).toStdString());
  window = std::make_unique<MainWindow>(*statement, dialogs, environment, settings);
  window->show();
  QApplication::setActiveWindow(window.get());
  if (!QTest::qWaitForWindowActive(window.get())) qWarning("window did not become active");
}

Fixture::~Fixture() {
  window.reset();
  statement.reset();
}

RecordGrid* Fixture::Grid(Side side) const {
  return Find<RecordGrid>(side == Side::Customers ? "customerGrid" : "supplierGrid");
}

void Fixture::NewStatement() {
  dialogs.Expect(Greek("Δημιουργία νέου αρχείου;"), Dialogs::Answer::Yes);
  Action("newAction")->trigger();
}

bool Fixture::SaveAs(const QString& path) {
  const qsizetype shown = dialogs.messages.size();
  dialogs.ExpectSaveFile(path);
  Action("saveAsAction")->trigger();
  return dialogs.messages.size() > shown &&
         dialogs.messages.last().startsWith(Greek("Επιτυχής Αποθήκευση Αρχείου."));
}

void Fixture::Open(const QString& path) {
  dialogs.ExpectOpenFile(path);
  Action("openAction")->trigger();
}

bool Fixture::Exit() {
  Action("exitAction")->trigger();
  return !window->isVisible();
}

void Fixture::ShowPage(int index) {
  QTabBar* tabs = Find<QTabWidget>("pages")->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

void Fixture::ClickNavigator(Side side, const char* button) {
  auto* navigator =
      Find<QWidget>(side == Side::Customers ? "customerNavigator" : "supplierNavigator");
  auto* target = navigator->findChild<QWidget*>(QString::fromLatin1(button));
  if (!target || !target->isVisible()) qFatal("no %s on view", button);
  QTest::mouseClick(target, Qt::LeftButton);
}

bool Fixture::StoreLine(Side side) {
  ClickNavigator(side, "storeLineButton");
  return !Grid(side)->Model()->IsEditing();
}

void Fixture::DeleteCurrentLine(Side side, Dialogs::Answer answer) {
  dialogs.Expect(DeleteLineQuestion(), answer);
  ClickNavigator(side, "deleteLineButton");
}

void Fixture::ChooseTaxOffice(const QString& name) {
  auto* offices = Find<QComboBox>("taxOfficeList");
  offices->setFocus();
  Press(Qt::Key_Home);
  for (int i = 0; i < offices->count() && offices->currentText() != name; ++i) Press(Qt::Key_Down);
}

void Fixture::Activate(QWidget* target) {
  if (!target) target = window.get();
  QApplication::processEvents();
  QApplication::setActiveWindow(target);
  if (!QTest::qWaitForWindowActive(target)) qWarning("the window did not become active");
}

void Fixture::Type(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 128)
      QTest::keyClick(FocusedWidget(), static_cast<char>(c.unicode()));
    else
      QTest::sendKeyEvent(QTest::Click, FocusedWidget(), Qt::Key_unknown, QString(c),
                          Qt::NoModifier);
  }
}

void Fixture::Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(FocusedWidget(), key, modifiers);
}

void Fixture::TypeInto(QWidget* widget, const QString& text) {
  if (!widget->hasFocus()) widget->setFocus();
  Type(text);
}

void Fixture::Retype(QLineEdit* box, const QString& text) {
  if (!box->hasFocus()) box->setFocus();
  Press(Qt::Key_End);
  Press(Qt::Key_Home, Qt::ShiftModifier);
  Press(Qt::Key_Backspace);
  Type(text);
}

void Fixture::Paste(const QString& text) {
  QApplication::clipboard()->setText(text);
  // A keyboard's Ctrl+V carries the control character, not the letter.
  QTest::sendKeyEvent(QTest::Click, FocusedWidget(), Qt::Key_V, QString(QChar(0x16)),
                      Qt::ControlModifier);
}

void Fixture::TypeIntoCell(RecordGrid* grid, int row, int column, const QString& text, bool leave) {
  // Focus first: an empty grid offers its new row as it takes the focus.
  grid->setFocus();
  QApplication::processEvents();
  const QModelIndex cell = grid->model()->index(row, column);
  grid->scrollTo(cell);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
  if (text.isEmpty()) return;
  // The first character opens the cell editor, which takes the rest.
  Type(text);
  if (leave) Press(Qt::Key_Tab);
}

void Fixture::TypeLine(RecordGrid* grid, int row, const QString& taxNumber,
                       const QString& obligation, const QString& invoices, const QString& value) {
  TypeIntoCell(grid, row, 0, taxNumber);
  TypeIntoCell(grid, row, 3, obligation);
  TypeIntoCell(grid, row, 8, invoices);
  TypeIntoCell(grid, row, 9, value, false);
}

int Fixture::AppendLine(Side side) {
  RecordGrid* grid = Grid(side);
  grid->setFocus();
  QApplication::processEvents();
  TypeIntoCell(grid, grid->model()->rowCount() - 1, 0, QString());
  Press(Qt::Key_Down);
  return grid->model()->rowCount() - 1;
}

void Fixture::TypeStatement() {
  NewStatement();
  TypeInto(Box("yearBox"), QStringLiteral("2008"));
  ChooseTaxOffice(Greek("ΑΘΗΝΩΝ Α'"));
  TypeInto(Box("companyNameBox"), Greek("ΑΛΦΑ ΕΠΕ"));
  TypeInto(Box("taxNumberBox"), QStringLiteral("123456783"));
  TypeInto(Box("townBox"), Greek("ΑΘΗΝΑ"));
  TypeInto(Box("telephoneBox"), QStringLiteral("2101234567"));
  TypeInto(Box("installationTypeBox"), QStringLiteral("E"));
  Find<QRadioButton>("creditBalancesButton")->click();

  RecordGrid* customers = Grid(Side::Customers);
  TypeIntoCell(customers, 0, 1, Greek("ΠΑΠΑΔΟΠΟΥΛΟΣ"));
  TypeLine(customers, 0, QStringLiteral("094019245"), "0", "12", "1234,5");
  Press(Qt::Key_Down);
  TypeLine(customers, 1, QStringLiteral("111111111"), "1", "3", "0,125");
  QVERIFY2(StoreLine(Side::Customers), qPrintable(dialogs.messages.join('|')));
  TypeInto(Box("retailSalesBox"), QStringLiteral("10"));
  TypeInto(Box("customersWithoutItemisationBox"), QStringLiteral("2,5"));

  ShowPage(1);
  TypeLine(Grid(Side::Suppliers), 0, QStringLiteral("094019245"), "0", "0", "7");
  QVERIFY2(StoreLine(Side::Suppliers), qPrintable(dialogs.messages.join('|')));
  TypeInto(Box("suppliersWithoutItemisationBox"), QStringLiteral("7"));
}

QString Fixture::WorkingFolder() const {
  return QFile::decodeName(QByteArray::fromStdString(statement->Files().Folder()));
}

QByteArray Fixture::WorkingFile(const char* name) const {
  QFile file(QFile::decodeName(QByteArray::fromStdString(statement->Files().Path(name))));
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
  return file.readAll();
}

}  // namespace velmora::test
