#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>
#include <optional>

#include "Questions.h"

namespace velmora {

// Every way the window talks to the user through a modal box or a file dialog.
// The real one shows Qt dialogs; tests answer from a queue and record.
class Dialogs {
 public:
  enum Button { Yes = 0x1, No = 0x2, Ok = 0x4, Cancel = 0x8 };
  Q_DECLARE_FLAGS(Buttons, Button)
  enum class Answer { Yes, No, Ok, Cancel };

  virtual ~Dialogs() = default;

  // A plain question box titled with the application title. Buttons appear in
  // the order Yes, No, OK, Cancel; the captions go on them in that order.
  virtual Answer AskUser(const QString& message, Buttons buttons, const QStringList& captions) = 0;
  // A question box with a button for each caption, in order: the index of the
  // button chosen. The last caption is the escape answer: Escape and the close
  // box choose it. nullopt only when no button could be chosen at all.
  virtual std::optional<std::size_t> AskChoice(const QString& message,
                                               const QStringList& captions) = 0;
  // A plain message box with one OK button.
  virtual void ShowMessage(const QString& text) = 0;
  // The same, with details shown on request and a button that copies them.
  virtual void ShowMessageWithDetails(const QString& text, const QString& details) = 0;
  // The same, marked as a warning (errors of a command).
  virtual void ShowWarning(const QString& text) = 0;
  virtual void Beep() = 0;
  // Empty text when the user cancels.
  virtual QString ChooseOpenFile(const QString& folder, const QString& filter) = 0;
  virtual QString ChooseSaveFile(const QString& folder, const QString& proposedName,
                                 const QString& filter) = 0;
  // The list of statements left behind (RecoveryDialog): the row chosen and what
  // to do with it; Later when the box is closed without a choice.
  virtual Questions::RecoveryChoice ChooseRecovery(const QString& message,
                                                   const QStringList& statements) {
    (void)message;
    (void)statements;
    return {};
  }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Dialogs::Buttons)

}  // namespace velmora
