#include "QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "AppTexts.h"

namespace velmora {

namespace {

const QString kStandardCaption[] = {QStringLiteral("Ναι"), QStringLiteral("Όχι"),
                                    QStringLiteral("Εντάξει"), QStringLiteral("Άκυρο")};

}  // namespace

Dialogs::Answer QtDialogs::AskUser(const QString& message, Buttons buttons,
                                   const QStringList& captions) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), message, QMessageBox::NoButton, parent_);
  // Buttons keep the fixed order Yes, No, OK, Cancel whatever the desktop's
  // button layout: all take the same role, which keeps them in insertion order.
  const Button order[] = {Yes, No, Ok, Cancel};
  const Answer answers[] = {Answer::Yes, Answer::No, Answer::Ok, Answer::Cancel};
  QPushButton* made[4] = {};
  int caption = 0;
  for (int i = 0; i < 4; ++i) {
    if (!(buttons & order[i])) continue;
    const QString text = caption < captions.size() ? captions[caption] : kStandardCaption[i];
    ++caption;
    made[i] = box.addButton(text, QMessageBox::ActionRole);
  }
  QPushButton* defaultButton = made[2] ? made[2] : made[0];
  if (defaultButton) box.setDefaultButton(defaultButton);
  QPushButton* escape = made[3] ? made[3] : made[1] ? made[1] : made[2];
  if (escape) box.setEscapeButton(escape);
  box.exec();
  for (int i = 0; i < 4; ++i)
    if (made[i] && box.clickedButton() == made[i]) return answers[i];
  return Answer::Cancel;
}

std::optional<std::size_t> QtDialogs::AskChoice(const QString& message,
                                                const QStringList& captions) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), message, QMessageBox::NoButton, parent_);
  std::vector<QPushButton*> made;
  // All take the same role, which keeps them in the order given.
  for (const QString& caption : captions)
    made.push_back(box.addButton(caption, QMessageBox::ActionRole));
  if (!made.empty()) box.setDefaultButton(made.front());
  box.exec();
  for (std::size_t i = 0; i < made.size(); ++i)
    if (box.clickedButton() == made[i]) return i;
  return std::nullopt;
}

void QtDialogs::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::NoButton, parent_);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
}

void QtDialogs::ShowWarning(const QString& text) {
  QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::NoButton, parent_);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
}

void QtDialogs::Beep() { QApplication::beep(); }

QString QtDialogs::ChooseOpenFile(const QString& folder, const QString& filter) {
  return QFileDialog::getOpenFileName(parent_, QStringLiteral("Άνοιγμα"), folder, filter, nullptr,
                                      QFileDialog::DontUseNativeDialog);
}

QString QtDialogs::ChooseSaveFile(const QString& folder, const QString& proposedName,
                                  const QString& filter) {
  // The overwrite question is the program's own, asked after the choice.
  return QFileDialog::getSaveFileName(
      parent_, QStringLiteral("Αποθήκευση ως"), folder + QLatin1Char('/') + proposedName, filter,
      nullptr, QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
}

}  // namespace velmora
