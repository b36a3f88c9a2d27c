#include "QtDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QGridLayout>
#include <QLocale>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QMessageBox>
#include <QPushButton>

#include "AppTexts.h"
#include "RecoveryDialog.h"

namespace velmora {

namespace {

const QString kStandardCaption[] = {QStringLiteral("Ναι"), QStringLiteral("Όχι"),
                                    QStringLiteral("Εντάξει"), QStringLiteral("Άκυρο")};

// A short message would make a box narrower than its title, and the window
// manager would cut the title. The box's own layout decides its width, so the
// room goes in as an empty item across it.
void WidenToTitle(QMessageBox& box) {
  // Room for the title bar's buttons and margins beside the text.
  constexpr int kTitleBarExtra = 140;
  // Window managers mostly write titles in the desktop's font, often bold.
  QFont titleFont = QApplication::font();
  titleFont.setBold(true);
  const int wanted = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarExtra;
  auto* layout = qobject_cast<QGridLayout*>(box.layout());
  if (!layout) return;
  layout->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  layout->rowCount(), 0, 1, layout->columnCount());
}

}  // namespace

Questions::RecoveryChoice QtDialogs::ChooseRecovery(const QString& message,
                                                    const QStringList& statements) {
  RecoveryDialog dialog(message, statements, parent_);
  dialog.exec();
  return dialog.Choice();
}

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
  WidenToTitle(box);
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
  if (!made.empty()) {
    box.setDefaultButton(made.front());
    // Escape and the close box answer the last caption, the one that cancels.
    box.setEscapeButton(made.back());
  }
  WidenToTitle(box);
  box.exec();
  for (std::size_t i = 0; i < made.size(); ++i)
    if (box.clickedButton() == made[i]) return i;
  return std::nullopt;
}

void QtDialogs::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::NoButton, parent_);
  // An address or a file's name in a message can be copied from it.
  box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  WidenToTitle(box);
  box.exec();
}

void QtDialogs::ShowMessageWithDetails(const QString& text, const QString& details) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::NoButton, parent_);
  box.setDetailedText(details);
  // Copying the list must not close the box: the button acts, then the box stays.
  QPushButton* copy = box.addButton(QStringLiteral("Αντιγραφή"), QMessageBox::ActionRole);
  copy->disconnect();
  QObject::connect(copy, &QPushButton::clicked, &box,
                   [details] { QGuiApplication::clipboard()->setText(details); });
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  WidenToTitle(box);
  box.exec();
}

void QtDialogs::ShowWarning(const QString& text) {
  QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::NoButton, parent_);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  WidenToTitle(box);
  box.exec();
}

void QtDialogs::Beep() { QApplication::beep(); }

namespace {

// The file list's dates as Greek users write them, whatever the system's language.
class GreekDates : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    constexpr int kDateColumn = 3;
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (files && index.column() == kDateColumn && role == Qt::DisplayRole) {
      return QLocale(QLocale::Greek, QLocale::Greece)
          .toString(files->lastModified(mapToSource(index)), QStringLiteral("dd/MM/yyyy HH:mm"));
    }
    return QSortFilterProxyModel::data(index, role);
  }
};

// Large enough to show each file's name, size and date in full.
QString RunFileDialog(QWidget* parent, const QString& title, const QString& start,
                      const QString& filter, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, title, start, filter);
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  dialog.setProxyModel(new GreekDates(&dialog));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setViewMode(QFileDialog::Detail);
  dialog.resize(980, 560);
  if (auto* view = dialog.findChild<QTreeView*>()) {
    const int widths[] = {340, 100, 130, 140};  // name, size, type, date
    for (int column = 0; column < 4; ++column) view->setColumnWidth(column, widths[column]);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtDialogs::ChooseOpenFile(const QString& folder, const QString& filter) {
  return RunFileDialog(parent_, QStringLiteral("Άνοιγμα"), folder, filter, QFileDialog::AcceptOpen);
}

QString QtDialogs::ChooseSaveFile(const QString& folder, const QString& proposedName,
                                  const QString& filter) {
  // The overwrite question is the program's own, asked after the choice.
  return RunFileDialog(parent_, QStringLiteral("Αποθήκευση ως"),
                       folder + QLatin1Char('/') + proposedName, filter, QFileDialog::AcceptSave);
}

}  // namespace velmora
