#pragma once

#include <QAction>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

#include "Dialogs.h"
#include "Environment.h"
#include "MainWindow.h"
#include "RecordGrid.h"
#include "Settings.h"
#include "Side.h"
#include "Statement.h"

namespace velmora::test {

// Answers the window's questions from a script and records everything it says.
class TestDialogs : public Dialogs {
 public:
  // The next question must be this one; it gets this answer.
  void Expect(const QString& question, Answer answer);
  void ExpectSaveFile(const QString& path) { saveFiles_.push_back(path); }
  void ExpectOpenFile(const QString& path) { openFiles_.push_back(path); }
  // The next choice must be this question; the button of that index is pressed
  // (nullopt: the box is closed).
  void ExpectChoice(const QString& question, std::optional<std::size_t> choice) {
    choices_.push_back({question, choice});
  }

  Answer AskUser(const QString& message, Buttons buttons, const QStringList& captions) override;
  std::optional<std::size_t> AskChoice(const QString& message,
                                       const QStringList& captions) override;
  void ShowMessage(const QString& text) override { messages.append(text); }
  void ShowMessageWithDetails(const QString& text, const QString& details) override {
    messages.append(text);
    this->details.append(details);
  }
  void ShowWarning(const QString& text) override { warnings.append(text); }
  void Beep() override { ++beeps; }
  QString ChooseOpenFile(const QString& folder, const QString& filter) override;
  QString ChooseSaveFile(const QString& folder, const QString& proposedName,
                         const QString& filter) override;

  // Questions and file dialogs nobody scripted, and scripted ones never asked.
  QStringList Problems() const;

  // What the user does elsewhere while a file dialog is open.
  std::function<void()> whileChoosingFile;

  QStringList messages;
  // The details of the messages that had them.
  QStringList details;
  QStringList warnings;
  QStringList captionsSeen;
  QStringList proposedNames;
  // The folder each file dialog started in.
  QStringList folders;
  int beeps = 0;

 private:
  struct Scripted {
    QString question;
    Answer answer;
  };
  std::deque<Scripted> script_;
  std::deque<std::pair<QString, std::optional<std::size_t>>> choices_;
  std::deque<QString> saveFiles_;
  std::deque<QString> openFiles_;
  QStringList unexpected_;
};

class TestEnvironment : public Environment {
 public:
  QDate Today() const override { return today; }
  QString ProgramFolder() const override { return program_.path(); }
  QString WorkingBaseFolder() const override { return base_.path(); }
  QString DataFolder() const override { return data_.path(); }
  QString DocumentsFolder() const override { return documents_.path(); }
  // Missing until the program makes it, as on an account that never had one.
  QString DesktopFolder() const override { return data_.filePath(QStringLiteral("Desktop")); }
  bool OpenUrl(const QUrl& url) override {
    urls.append(url);
    return browserFound;
  }

  QDate today{2024, 5, 20};
  QList<QUrl> urls;
  // Whether a browser takes the addresses opened.
  bool browserFound = true;

 private:
  QTemporaryDir program_;
  QTemporaryDir base_;
  QTemporaryDir data_;
  QTemporaryDir documents_;
};

QString Greek(const char* utf8);
// The question before unsaved changes would be lost.
QString UnsavedChangesQuestion();
// The navigator's question before a line is deleted.
QString DeleteLineQuestion();

// A statement over the test environment's working base, and the window showing
// it, shown and active. Everything is done as a user does it: menu actions,
// keys into the focused widget, clicks on buttons and tabs.
struct Fixture {
  Fixture();
  ~Fixture();

  // The window's widget or action of that object name; a missing one ends the test run.
  template <class T>
  T* Find(const char* name) const {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("the window has no %s named %s", T::staticMetaObject.className(), name);
    return found;
  }
  QAction* Action(const char* name) const { return Find<QAction>(name); }
  QLineEdit* Box(const char* name) const { return Find<QLineEdit>(name); }
  QLabel* Label(const char* name) const { return Find<QLabel>(name); }
  RecordGrid* Grid(Side side) const;

  // "Αρχείο" -> "Νέο" -> "Ναι".
  void NewStatement();
  // "Αρχείο" -> "Αποθήκευση ως..." into path; true when the save reported success.
  bool SaveAs(const QString& path);
  // "Αρχείο" -> "Άνοιγμα" of path.
  void Open(const QString& path);
  // "Αρχείο" -> "Έξοδος"; true when the window closed.
  bool Exit();
  // Clicks the tab of the page (0 customers, 1 suppliers).
  void ShowPage(int index);
  // Clicks a button of the navigator over the side's grid; it must be on view.
  void ClickNavigator(Side side, const char* button);
  // The store button; true when the line was stored.
  bool StoreLine(Side side);
  // The delete button, answering its question.
  void DeleteCurrentLine(Side side, Dialogs::Answer answer);
  // Chooses the tax office from the list with the keyboard.
  void ChooseTaxOffice(const QString& name);

  // Makes that window (the main window when none is given) the active one, once
  // the activations asked for before have been delivered: a wait box or a
  // dialog may have taken it.
  void Activate(QWidget* target = nullptr);
  // Keys into whatever has the focus: one key press per character.
  void Type(const QString& text);
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Focuses the widget, then types.
  void TypeInto(QWidget* widget, const QString& text);
  // Selects the whole text of the box and types over it.
  void Retype(QLineEdit* box, const QString& text);
  // Ctrl+V of the text into whatever has the focus.
  void Paste(const QString& text);
  // Clicks the cell and types the text into it; Tab leaves the cell.
  void TypeIntoCell(RecordGrid* grid, int row, int column, const QString& text, bool leave = true);
  // Types the mandatory cells of a line: tax number, obliged code, invoices, value.
  // The last cell's editor stays open.
  void TypeLine(RecordGrid* grid, int row, const QString& taxNumber,
                const QString& obligation = "1", const QString& invoices = "1",
                const QString& value = "10");
  // Opens a new line below the last one (Down on the last line); returns its row.
  int AppendLine(Side side);
  // A statement a user could type: the filer, two customers, one supplier, the
  // amounts. Ends on the suppliers' page.
  void TypeStatement();

  QString WorkingFolder() const;
  // The working file's bytes.
  QByteArray WorkingFile(const char* name) const;

  TestDialogs dialogs;
  TestEnvironment environment;
  // Settings of this test alone, in a file of its own.
  QTemporaryDir settingsFolder;
  Settings settings{settingsFolder.filePath(QStringLiteral("velmora.conf"))};
  std::unique_ptr<Statement> statement;
  std::unique_ptr<MainWindow> window;
};

}  // namespace velmora::test
