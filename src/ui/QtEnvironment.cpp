#include "QtEnvironment.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "CapsLock.h"

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

void QtEnvironment::SetCapsLock(bool on) {
  // On for the program's own time; at the end the lock goes back to how the
  // user had it, which is off unless they had switched it on themselves.
  if (on) {
    if (!capsLockFound_) capsLockFound_ = CapsLockState();
    SetCapsLockState(true);
  } else {
    SetCapsLockState(capsLockFound_.value_or(false));
  }
}

}  // namespace velmora
