#include "InputGuard.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "Capitals.h"
#include "GreekText.h"

namespace velmora {

InputGuard::InputGuard(QLineEdit* edit, KeyRule keyRule, TextRule textRule)
    : QObject(edit), edit_(edit), keyRule_(std::move(keyRule)), textRule_(std::move(textRule)) {
  edit->installEventFilter(this);
  edit->setValidator(new Validator(this));
  // Pasting, cutting and undoing change the text without a typed character.
  connect(edit, &QLineEdit::textEdited, this, &InputGuard::typed);
}

bool InputGuard::IsTypedCharacter(QChar c) {
  // Delete carries DEL (0x7f) on some keyboards: an editing key like the arrows.
  return c == QChar('\b') || (c.unicode() >= 32 && c.unicode() != 0x7f);
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_ || event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const QString text = key->text();
  // Shortcuts (Ctrl+V, Ctrl+C ...) carry control characters: they are not typing.
  if (text.size() != 1 || !IsTypedCharacter(text[0])) return false;
  emit typed();
  const QChar typed = text[0];
  std::optional<QChar> verdict = typed;
  if (typed != QChar('\b') && !HasCp1253Code(typed)) verdict.reset();
  // A full field would drop the character without a word.
  if (typed != QChar('\b') && !edit_->hasSelectedText() &&
      edit_->text().size() >= edit_->maxLength())
    verdict.reset();
  if (verdict && keyRule_) verdict = keyRule_(typed, edit_->text());
  if (verdict && capitals_)
    verdict = QChar(static_cast<char16_t>(CapitalLetter(verdict->unicode())));
  if (!verdict) {
    emit refused();
    return true;
  }
  if (*verdict != typed) {
    edit_->insert(QString(*verdict));
    return true;
  }
  return false;
}

QValidator::State InputGuard::Validator::validate(QString& input, int&) const {
  // Pasted text too; the field takes the changed text in place of the pasted one.
  if (guard_->capitals_) {
    for (QChar& c : input) c = QChar(static_cast<char16_t>(CapitalLetter(c.unicode())));
  }
  bool encodable = true;
  for (QChar c : input) encodable = encodable && HasCp1253Code(c);
  if (encodable && (!guard_->textRule_ || guard_->textRule_(input))) return Acceptable;
  // Qt also asks when the field loses the focus, and when the program sets the
  // text: only what the user types or pastes, into the field they are in, is a
  // refusal worth a beep.
  if (guard_->edit_->hasFocus()) emit guard_->refused();
  return Invalid;
}

}  // namespace velmora
