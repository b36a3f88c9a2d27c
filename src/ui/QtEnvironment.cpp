#include "QtEnvironment.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "PrivateFolder.h"
#include "SystemReason.h"
#include "VelmoraError.h"

namespace velmora {

QtEnvironment::QtEnvironment() {
  const QString stateFolder = StateFolder();
  try {
    if (stateFolder.isEmpty()) throw VelmoraError(SystemReason(ENOENT));
    copyFolder_ = CopyFolder::Create(QFile::encodeName(stateFolder).toStdString());
  } catch (const std::exception& error) {
    stateFolderFailure_ = QString::fromUtf8(error.what());
    // A folder private to this user, never a shared name in the temporary
    // folder that another user could make first.
    try {
      copyFolder_ = CopyFolder::Create(MakePrivateFallbackFolder(
          std::getenv("XDG_RUNTIME_DIR"), QFile::encodeName(QDir::tempPath()).toStdString()));
    } catch (const std::exception&) {
      return;  // the caller's message
    }
  }
  workingBase_ = QFile::decodeName(QByteArray::fromStdString(copyFolder_->Path()));
}

// The copy folder goes when empty: anything left in it was not ours to delete.
QtEnvironment::~QtEnvironment() = default;

QString QtEnvironment::StateFolder() const {
  return QFile::decodeName(QByteArray::fromStdString(
      StateFolderFor(qgetenv("XDG_STATE_HOME").constData(), qgetenv("HOME").constData())));
}

std::vector<CopyFolder> QtEnvironment::ClaimAbandonedCopies() const {
  if (!copyFolder_) return {};
  return CopyFolder::ClaimAbandoned(
      std::filesystem::path(copyFolder_->Path()).parent_path().string());
}

QDate QtEnvironment::Today() const { return QDate::currentDate(); }

QString QtEnvironment::ProgramFolder() const { return QCoreApplication::applicationDirPath(); }

QString QtEnvironment::DataFolder() const {
  // Never beside the executable, even where that folder is writable: a copy of the
  // program in a shared or build folder is not the user's.
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(data);
  return data;
}

QString QtEnvironment::DocumentsFolder() const {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString QtEnvironment::DesktopFolder() const {
  return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

bool QtEnvironment::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace velmora
