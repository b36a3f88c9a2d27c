#pragma once

#include <QByteArray>
#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

#include "FileKind.h"
#include "Side.h"

namespace velmora {

// What is remembered between runs, in the user's own settings file
// (~/.config/velmora/velmora.ini); nothing lies beside the executable.
class Settings {
 public:
  // The user's settings.
  Settings();
  // Settings kept in that file alone: tests give each run a file of its own.
  explicit Settings(const QString& file);

  // Empty when nothing is remembered yet.
  QString LastFolder(FileKind kind) const;
  void SetLastFolder(FileKind kind, const QString& folder);

  // Newest first, at most kMaxRecentStatements.
  QStringList RecentStatements() const;
  void AddRecentStatement(const QString& path);
  void RemoveRecentStatement(const QString& path);
  static constexpr int kMaxRecentStatements = 8;

  QByteArray WindowGeometry() const;
  void SetWindowGeometry(const QByteArray& geometry);

  // Empty when the user never changed them.
  QList<int> ColumnWidths(Side side) const;
  void SetColumnWidths(Side side, const QList<int>& widths);

 private:
  std::unique_ptr<QSettings> store_;
};

}  // namespace velmora
