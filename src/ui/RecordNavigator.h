#pragma once

#include <QWidget>
#include <functional>

#include "RecordGrid.h"

namespace velmora {

// The six buttons over a grid: first, last, insert, delete, store, cancel, each
// with its caption above it.
class RecordNavigator : public QWidget {
  Q_OBJECT

 public:
  explicit RecordNavigator(RecordGrid* grid, QWidget* parent = nullptr);

  // Asked before a button's action; false cancels the action silently.
  void SetActionGuard(std::function<bool(RecordGrid::Action)> guard) { guard_ = std::move(guard); }

  void Click(RecordGrid::Action action);

 private:
  RecordGrid* grid_;
  std::function<bool(RecordGrid::Action)> guard_;
};

}  // namespace velmora
