#pragma once

#include <QDialog>

#include "FindCommand.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velmora {

// "Εύρεση": the field to search, the text and whether the whole field must
// match. Made once and kept, so that each use finds it as the last one left it.
// Closing it by its close box, like Escape, counts as "Ακύρωση".
class FindDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FindDialog(QWidget* parent = nullptr);

  FindField Field() const;
  // The search as the dialog stands; the box takes only Windows-1253 text.
  FindRequest Request() const;

 signals:
  // A typed character was refused: the program beeps.
  void keyRefused();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QRadioButton* taxNumberChoice_;
  QRadioButton* nameChoice_;
  QLineEdit* textBox_;
  QCheckBox* wholeFieldBox_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace velmora
