#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include "AppTexts.h"
#include "MainWindow.h"
#include "QtDialogs.h"
#include "QtEnvironment.h"
#include "Settings.h"
#include "Statement.h"
#include "TerminationSignals.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  // No display name: the desktop would add it to every message box's title.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/velmora.png")));
  // Qt's own dialogs in Greek: our translation, and Greek names of file types.
  QLocale::setDefault(QLocale(QLocale::Greek, QLocale::Greece));
  QTranslator qtGreek;
  if (qtGreek.load(QStringLiteral(":/translations/velmora_qt_el.qm")))
    QApplication::installTranslator(&qtGreek);

  // "velmora FILE" opens a submission file, as the desktop does with "Exec=velmora %f".
  QCommandLineParser arguments;
  arguments.setApplicationDescription(velmora::ApplicationTitle());
  arguments.addHelpOption();
  arguments.addPositionalArgument(QStringLiteral("αρχείο"),
                                  QStringLiteral("Αρχείο υποβολής που ανοίγει με την έναρξη."),
                                  QStringLiteral("[αρχείο]"));
  arguments.process(app);
  const QStringList files = arguments.positionalArguments();

  velmora::QtEnvironment environment;
  if (environment.WorkingBaseFolder().isEmpty()) {
    QMessageBox::critical(
        nullptr, velmora::ApplicationTitle(),
        QStringLiteral("Το πρόγραμμα δεν μπορεί να ξεκινήσει: δεν ήταν δυνατό να δημιουργηθεί "
                       "ο φάκελος εργασίας του στον φάκελο %1. Ελέγξτε ότι ο φάκελος υπάρχει, "
                       "ότι έχετε δικαίωμα εγγραφής σε αυτόν και ότι ο δίσκος δεν είναι γεμάτος.")
            .arg(QDir::toNativeSeparators(environment.StateFolder())));
    return 1;
  }
  velmora::Statement statement(QFile::encodeName(environment.WorkingBaseFolder()).toStdString());
  velmora::QtDialogs dialogs;
  velmora::Settings settings;
  velmora::MainWindow window(statement, dialogs, environment, settings);
  dialogs.SetParent(&window);
  // Where and how large the user left it; the first time, centred at its least size.
  if (!window.restoreGeometry(settings.WindowGeometry())) {
    window.adjustSize();
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
  }
  velmora::TerminationSignals termination;
  QObject::connect(&termination, &velmora::TerminationSignals::terminationRequested, &window,
                   &velmora::MainWindow::CloseWithoutQuestions);
  window.show();
  // Once the window is on screen, so that the questions have it behind: a
  // statement left by a crash first, then the file asked for.
  QTimer::singleShot(0, &window, [&] {
    if (!environment.StateFolderFailure().isEmpty())
      QMessageBox::warning(
          &window, velmora::ApplicationTitle(),
          QStringLiteral("Η δήλωση κρατείται σε προσωρινό φάκελο (%1), γιατί ο φάκελος %2 δεν "
                         "μπορεί να χρησιμοποιηθεί: %3. Μετά από μια διακοπή ρεύματος η δήλωση "
                         "μπορεί να μην ανακτηθεί.")
              .arg(QDir::toNativeSeparators(environment.WorkingBaseFolder()),
                   QDir::toNativeSeparators(environment.StateFolder()),
                   environment.StateFolderFailure()));
    window.OfferRecovery(environment.ClaimAbandonedCopies());
    if (!files.isEmpty()) window.OpenFile(QFileInfo(files.constFirst()).absoluteFilePath());
  });
  return app.exec();
}
