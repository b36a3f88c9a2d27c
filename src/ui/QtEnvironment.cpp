#include "QtEnvironment.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace velmora {

QtEnvironment::QtEnvironment() {
  QTemporaryDir base(QDir::tempPath() + QStringLiteral("/velmora-XXXXXX"));
  base.setAutoRemove(false);
  // No shared fallback: two copies in one folder would overwrite each other's lines.
  if (base.isValid()) workingBase_ = base.path();
}

QtEnvironment::~QtEnvironment() {
  // Only an empty folder goes: anything left in it was not ours to delete.
  if (!workingBase_.isEmpty()) QDir().rmdir(workingBase_);
}

QDate QtEnvironment::Today() const { return QDate::currentDate(); }

QString QtEnvironment::ProgramFolder() const { return QCoreApplication::applicationDirPath(); }

QString QtEnvironment::DataFolder() const {
  const QString program = ProgramFolder();
  if (QFileInfo(program).isWritable()) return program;
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(data);
  return data;
}

QString QtEnvironment::DesktopFolder() const {
  return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

void QtEnvironment::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void QtEnvironment::SetCapsLock(bool) {
  // Switching the keyboard lock belongs to the keyboard-lock feature; until it
  // is built the program leaves the lock as the user set it.
}

}  // namespace velmora
