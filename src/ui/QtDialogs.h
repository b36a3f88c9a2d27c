#pragma once

#include <QPointer>
#include <QWidget>

#include "Dialogs.h"

namespace velmora {

// Dialogs as Qt shows them: plain message boxes titled with the application
// title, and Qt's own file dialogs (in Greek through our translation).
class QtDialogs : public Dialogs {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }

  Answer AskUser(const QString& message, Buttons buttons, const QStringList& captions) override;
  Questions::RecoveryChoice ChooseRecovery(const QString& message,
                                           const QStringList& statements) override;
  std::optional<std::size_t> AskChoice(const QString& message,
                                       const QStringList& captions) override;
  void ShowMessage(const QString& text) override;
  void ShowMessageWithDetails(const QString& text, const QString& details) override;
  void ShowWarning(const QString& text) override;
  void Beep() override;
  QString ChooseOpenFile(const QString& folder, const QString& filter) override;
  QString ChooseSaveFile(const QString& folder, const QString& proposedName,
                         const QString& filter) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace velmora
