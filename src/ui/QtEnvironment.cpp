#include "QtEnvironment.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>

namespace velmora {

QtEnvironment::QtEnvironment() {
  // No shared fallback: two copies in one folder would overwrite each other's lines.
  for (const QString& folder : {StateFolder(), QDir::tempPath() + QStringLiteral("/velmora-") +
                                                   qEnvironmentVariable("USER")}) {
    if (folder.isEmpty()) continue;
    try {
      copyFolder_ = CopyFolder::Create(QFile::encodeName(folder).toStdString());
      workingBase_ = QFile::decodeName(QByteArray::fromStdString(copyFolder_->Path()));
      return;
    } catch (const std::exception&) {
      // The next place, or the caller's message.
    }
  }
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
  const QString program = ProgramFolder();
  if (QFileInfo(program).isWritable()) return program;
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
