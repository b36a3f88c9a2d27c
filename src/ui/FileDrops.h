#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QMimeData;
class QWidget;

namespace velmora {

// Takes a file dropped anywhere on a window, over its fields and grids too,
// which would otherwise take the file's name as text. One local file at a time.
class FileDrops : public QObject {
  Q_OBJECT

 public:
  explicit FileDrops(QWidget* window);

  // Which files the window takes just now; every file when unset.
  void SetAcceptance(std::function<bool(const QString& path)> accepts) {
    accepts_ = std::move(accepts);
  }

  // The one local file a drag carries, if it carries exactly one.
  static std::optional<QString> DraggedFile(const QMimeData* data);

 signals:
  // Emitted after the drop has ended, so that what the file starts (questions,
  // dialogs) does not hold up the program it was dragged from.
  void fileDropped(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::function<bool(const QString&)> accepts_;
};

}  // namespace velmora
