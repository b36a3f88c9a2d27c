#include <QApplication>
#include <QFontMetrics>
#include <QTest>
#include <QTimer>

#include "AppTexts.h"
#include "QtDialogs.h"
#include "TestSupport.h"

using namespace velmora;
using namespace velmora::test;

class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void escapeAndCloseAnswerTheLastChoice();
};

void QtDialogsTest::escapeAndCloseAnswerTheLastChoice() {
  QtDialogs dialogs;
  const int titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(ApplicationTitle());
  // Escape, then the close box; each box at least as wide as its title.
  for (const bool escape : {true, false}) {
    int width = 0;
    QTimer::singleShot(0, [&width, escape] {
      QWidget* box = QApplication::activeModalWidget();
      width = box->width();
      escape ? QTest::keyClick(box, Qt::Key_Escape) : void(box->close());
    });
    QCOMPARE(dialogs.AskChoice(Greek("Θέλετε να εισάγετε τιμολόγια Πελατών ή Προμηθευτών;"),
                               {Greek("Πελατών"), Greek("Προμ/τών"), Greek("Ακύρωση")}),
             std::optional<std::size_t>(2));
    QVERIFY(width > titleWidth);
  }
}

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
