#include "Settings.h"

#include <QVariant>

namespace velmora {

namespace {

QString FolderKey(FileKind kind) {
  switch (kind) {
    case FileKind::Statement:
      return QStringLiteral("folders/statements");
    case FileKind::Spreadsheet:
      return QStringLiteral("folders/spreadsheets");
    case FileKind::ZipCopy:
      return QStringLiteral("folders/zip");
    case FileKind::Pdf:
      return QStringLiteral("folders/pdf");
  }
  return {};
}

QString ColumnsKey(Side side) {
  return side == Side::Customers ? QStringLiteral("columns/customers")
                                 : QStringLiteral("columns/suppliers");
}

const QString kRecentKey = QStringLiteral("recent/statements");
const QString kGeometryKey = QStringLiteral("window/geometry");

}  // namespace

Settings::Settings()
    : store_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                         QStringLiteral("velmora"), QStringLiteral("velmora"))) {}

Settings::Settings(const QString& file)
    : store_(std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

QString Settings::LastFolder(FileKind kind) const {
  return store_->value(FolderKey(kind)).toString();
}

void Settings::SetLastFolder(FileKind kind, const QString& folder) {
  store_->setValue(FolderKey(kind), folder);
}

QStringList Settings::RecentStatements() const {
  QStringList recent = store_->value(kRecentKey).toStringList();
  recent.removeAll(QString());
  return recent.mid(0, kMaxRecentStatements);
}

void Settings::AddRecentStatement(const QString& path) {
  QStringList recent = RecentStatements();
  recent.removeAll(path);
  recent.prepend(path);
  store_->setValue(kRecentKey, recent.mid(0, kMaxRecentStatements));
}

void Settings::RemoveRecentStatement(const QString& path) {
  QStringList recent = RecentStatements();
  recent.removeAll(path);
  store_->setValue(kRecentKey, recent);
}

QByteArray Settings::WindowGeometry() const { return store_->value(kGeometryKey).toByteArray(); }

void Settings::SetWindowGeometry(const QByteArray& geometry) {
  store_->setValue(kGeometryKey, geometry);
}

QList<int> Settings::ColumnWidths(Side side) const {
  QList<int> widths;
  for (const QVariant& width : store_->value(ColumnsKey(side)).toList()) {
    bool ok = false;
    const int value = width.toInt(&ok);
    if (!ok) return {};
    widths.append(value);
  }
  return widths;
}

void Settings::SetColumnWidths(Side side, const QList<int>& widths) {
  QVariantList values;
  for (int width : widths) values.append(width);
  store_->setValue(ColumnsKey(side), values);
}

}  // namespace velmora
