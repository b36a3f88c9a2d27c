#pragma once

#include <QDialog>

#include "Questions.h"

class QListWidget;

namespace velmora {

// The statements left by copies that ended without closing, in one list, the
// newest first and chosen: "Ανάκτηση" takes the chosen one back, "Διαγραφή"
// deletes it (after a second question, asked by the command), "Αργότερα", Escape
// and the close box leave them all for the next start.
class RecoveryDialog : public QDialog {
  Q_OBJECT

 public:
  RecoveryDialog(const QString& message, const QStringList& statements, QWidget* parent = nullptr);

  Questions::RecoveryChoice Choice() const { return choice_; }

 private:
  void Choose(Questions::RecoveryChoice::Action action);

  QListWidget* list_;
  Questions::RecoveryChoice choice_;
};

}  // namespace velmora
