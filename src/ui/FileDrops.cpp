#include "FileDrops.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace velmora {

FileDrops::FileDrops(QWidget* window) : QObject(window), window_(window) {
  window->setAcceptDrops(true);
  qApp->installEventFilter(this);
}

std::optional<QString> FileDrops::DraggedFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return std::nullopt;
  const QUrl url = data->urls().constFirst();
  if (!url.isLocalFile()) return std::nullopt;
  return url.toLocalFile();
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window_) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const auto path = DraggedFile(drop->mimeData());
  if (!path) return false;
  if (accepts_ && !accepts_(*path)) {
    drop->ignore();
    return true;
  }
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop)
    QMetaObject::invokeMethod(
        this, [this, file = *path] { emit fileDropped(file); }, Qt::QueuedConnection);
  return true;
}

}  // namespace velmora
