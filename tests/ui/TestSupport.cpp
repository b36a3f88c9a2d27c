#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
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

QString TestDialogs::ChooseOpenFile(const QString&, const QString&) {
  if (openFiles_.empty()) {
    unexpected_.append(QStringLiteral("unexpected open dialog"));
    return {};
  }
  QString path = openFiles_.front();
  openFiles_.pop_front();
  return path;
}

QString TestDialogs::ChooseSaveFile(const QString&, const QString& proposedName, const QString&) {
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
  return problems;
}

TestEnvironment::TestEnvironment() = default;

Fixture::Fixture() {
  window = std::make_unique<MainWindow>(dialogs, environment);
  window->show();
  QApplication::setActiveWindow(window.get());
  if (!QTest::qWaitForWindowActive(window.get())) qWarning("window did not become active");
}

Fixture::~Fixture() { window.reset(); }

void Fixture::NewStatement() {
  dialogs.Expect(QStringLiteral("Δημιουργία νέου αρχείου;"), Dialogs::Answer::Yes);
  window->N1->trigger();
}

QByteArray Fixture::WorkingFile(const char* name) const {
  QFile file(QString::fromStdString(window->Files().Path(name)));
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
  return file.readAll();
}

void Fixture::TypeIntoCell(RecordGrid* grid, int row, int column, const QString& text, bool leave) {
  grid->setFocus();
  QApplication::processEvents();
  grid->setCurrentIndex(grid->model()->index(row, column));
  if (text.isEmpty()) return;
  // The first character opens the cell editor, the rest go into it.
  TypeInto(grid, text.left(1));
  QLineEdit* editor = grid->Editor();
  if (!editor) return;
  TypeInto(editor, text.mid(1));
  if (leave) QTest::keyClick(editor, Qt::Key_Tab);
}

void Fixture::TypeLine(RecordGrid* grid, int row, const QString& taxNumber, const QString& obligation,
                       const QString& invoices, const QString& value) {
  TypeIntoCell(grid, row, 0, taxNumber);
  TypeIntoCell(grid, row, 3, obligation);
  TypeIntoCell(grid, row, 8, invoices);
  TypeIntoCell(grid, row, 9, value, false);
}

void Fixture::TypeInto(QWidget* widget, const QString& text) {
  if (!widget->hasFocus()) widget->setFocus();
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

QString Greek(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace velmora::test
