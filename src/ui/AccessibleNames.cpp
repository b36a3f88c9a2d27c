#include "AccessibleNames.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace velmora {

namespace {

const QString kMandatoryMark = QStringLiteral("(*)");

QAccessibleInterface* WindowRole(const QString& className, QObject* object) {
  if (className != QLatin1String("QWidget") || !object || !object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  if (!widget->isWindow()) return nullptr;
  return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace

QString AccessibleFieldName(const QString& caption) {
  QString name = caption;
  name.remove(kMandatoryMark);
  name = name.simplified();
  while (name.endsWith(QLatin1Char(':'))) name = name.chopped(1).trimmed();
  return name;
}

QString AccessibleFieldDescription(const QString& caption) {
  return caption.contains(kMandatoryMark) ? QStringLiteral("υποχρεωτικό") : QString();
}

void InstallWindowRoles() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(WindowRole);
}

}  // namespace velmora
