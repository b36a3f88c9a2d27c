#pragma once

#include <QObject>
#include <QValidator>
#include <functional>
#include <optional>

class QLineEdit;

namespace velmora {

// Watches what reaches one line edit: every typed character is reported (it
// marks the statement as changed, accepted or not) and then judged by the
// field's key rule; pasted text is held to the same characters, and nothing
// without a Windows-1253 code gets in at all. A field may take capitals only.
class InputGuard : public QObject {
  Q_OBJECT

 public:
  // The character to insert for a typed one, or nullopt to drop it.
  using KeyRule = std::function<std::optional<QChar>(QChar typed, const QString& currentText)>;
  // Whether the whole text, after a paste or insertion, may stand in the field
  // (besides the code page rule).
  using TextRule = std::function<bool(const QString&)>;

  InputGuard(QLineEdit* edit, KeyRule keyRule, TextRule textRule = nullptr);

  static bool IsTypedCharacter(QChar c);

  // Small letters typed or pasted become the capitals Caps Lock would give.
  void TakeCapitals() { capitals_ = true; }

 signals:
  // A character was typed, accepted or not, or the user changed the text
  // otherwise (paste, cut, undo).
  void typed();
  // A typed or pasted text was refused: the program beeps.
  void refused();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Validator : public QValidator {
   public:
    explicit Validator(InputGuard* guard) : QValidator(guard), guard_(guard) {}
    State validate(QString& input, int& pos) const override;

   private:
    InputGuard* guard_;
  };

  QLineEdit* edit_;
  KeyRule keyRule_;
  TextRule textRule_;
  bool capitals_ = false;
};

}  // namespace velmora
