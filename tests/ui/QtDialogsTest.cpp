#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "AppTexts.h"
#include "QtDialogs.h"
#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

// Runs what the user does to the box once it is on screen; the box's width is
// noted on the way.
void WhenShown(const std::function<void(QWidget*)>& act, int* width) {
  QTimer::singleShot(0, [act, width] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    *width = box->width();
    act(box);
  });
}

}  // namespace

class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void escapeAndCloseAnswerTheLastChoice();
};

void QtDialogsTest::escapeAndCloseAnswerTheLastChoice() {
  QtDialogs dialogs;
  const QStringList captions = {Greek("Πελατών"), Greek("Προμηθευτών"), Greek("Ακύρωση")};
  const std::function<void(QWidget*)> ways[] = {
      [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); },
      [](QWidget* box) { box->close(); },
  };
  const int titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(ApplicationTitle());
  for (const auto& way : ways) {
    int width = 0;
    WhenShown(way, &width);
    const auto choice = dialogs.AskChoice(Greek("Θέλετε να εισάγετε τιμολόγια Πελατών ή "
                                                "Προμηθευτών;"),
                                          captions);
    QCOMPARE(choice, std::optional<std::size_t>(2));
    QVERIFY(width > titleWidth);
  }
  // A short message still leaves room for the whole title.
  int width = 0;
  WhenShown([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }, &width);
  QCOMPARE(dialogs.AskUser(Greek("Είστε σίγουρος;"), Dialogs::Yes | Dialogs::No, {}),
           Dialogs::Answer::No);
  QVERIFY(width > titleWidth);
}

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
