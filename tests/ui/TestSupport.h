#pragma once

#include <QDate>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>

#include "Dialogs.h"
#include "Environment.h"
#include "MainWindow.h"

namespace velmora::test {

// Answers the window's questions from a script and records everything it says.
class TestDialogs : public Dialogs {
 public:
  // The next question must be this one; it gets this answer.
  void Expect(const QString& question, Answer answer);
  void ExpectSaveFile(const QString& path) { saveFiles_.push_back(path); }
  void ExpectOpenFile(const QString& path) { openFiles_.push_back(path); }

  Answer AskUser(const QString& message, Buttons buttons, const QStringList& captions) override;
  void ShowMessage(const QString& text) override { messages.append(text); }
  void ShowWarning(const QString& text) override { warnings.append(text); }
  void Beep() override { ++beeps; }
  QString ChooseOpenFile(const QString& folder, const QString& filter) override;
  QString ChooseSaveFile(const QString& folder, const QString& proposedName,
                         const QString& filter) override;

  // Questions nobody scripted, and scripted ones never asked.
  QStringList Problems() const;

  QStringList messages;
  QStringList warnings;
  QStringList captionsSeen;
  QStringList proposedNames;
  int beeps = 0;

 private:
  struct Scripted {
    QString question;
    Answer answer;
  };
  std::deque<Scripted> script_;
  std::deque<QString> saveFiles_;
  std::deque<QString> openFiles_;
  QStringList unexpected_;
};

class TestEnvironment : public Environment {
 public:
  TestEnvironment();

  QDate Today() const override { return today; }
  QString ProgramFolder() const override { return program_.path(); }
  QString WorkingBaseFolder() const override { return base_.path(); }
  QString DataFolder() const override { return data_.path(); }
  QString DesktopFolder() const override { return data_.path(); }
  void OpenUrl(const QUrl& url) override { urls.append(url); }
  void SetCapsLock(bool on) override { capsLock = on; }

  QDate today{2024, 5, 20};
  QList<QUrl> urls;
  bool capsLock = false;

 private:
  QTemporaryDir program_;
  QTemporaryDir base_;
  QTemporaryDir data_;
};

// A main window with its two test seams, shown and active.
struct Fixture {
  Fixture();
  ~Fixture();

  // "Αρχείο" -> "Νέο" -> "Ναι".
  void NewStatement();
  // The working file's bytes.
  QByteArray WorkingFile(const char* name) const;
  // Makes the cell current and types the text into it; Tab leaves the cell.
  void TypeIntoCell(RecordGrid* grid, int row, int column, const QString& text, bool leave = true);
  // Types the mandatory cells of a line: tax number, obliged code, invoices, value.
  // The last cell's editor stays open.
  void TypeLine(RecordGrid* grid, int row, const QString& taxNumber, const QString& obligation = "1",
                const QString& invoices = "1", const QString& value = "10");
  // Types into a line edit that has the focus, as a user would.
  void TypeInto(QWidget* widget, const QString& text);

  TestDialogs dialogs;
  TestEnvironment environment;
  std::unique_ptr<MainWindow> window;
};

QString Greek(const char* utf8);

}  // namespace velmora::test
