#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

#include "AppTexts.h"
#include "MainWindow.h"
#include "QtDialogs.h"
#include "QtEnvironment.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  QApplication::setApplicationDisplayName(velmora::WindowCaption());
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/velmora.png")));
  // Qt's own dialogs in Greek: our translation, and Greek names of file types.
  QLocale::setDefault(QLocale(QLocale::Greek, QLocale::Greece));
  QTranslator qtGreek;
  if (qtGreek.load(QStringLiteral(":/translations/velmora_qt_el.qm")))
    QApplication::installTranslator(&qtGreek);

  velmora::QtEnvironment environment;
  velmora::QtDialogs dialogs;
  velmora::MainWindow window(dialogs, environment);
  dialogs.SetParent(&window);
  window.adjustSize();
  window.move(window.screen()->availableGeometry().center() - window.rect().center());
  window.show();
  return app.exec();
}
