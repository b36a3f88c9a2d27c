#pragma once

#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "RecordGrid.h"

class QToolButton;

namespace velmora {

// The six buttons over a grid: first, last, insert, delete, store, cancel, each
// with its caption above it. A button is enabled only when it can act: first
// and last with lines, delete on a stored line, store and cancel with changes
// pending, insert while a statement is open.
class RecordNavigator : public QWidget {
  Q_OBJECT

 public:
  explicit RecordNavigator(RecordGrid* grid, QWidget* parent = nullptr);

  // Asked before a button's action; false cancels the action silently.
  void SetActionGuard(std::function<bool(RecordGrid::Action)> guard) { guard_ = std::move(guard); }

  void Click(RecordGrid::Action action);
  // Enables each button by what the grid and its table allow now.
  void UpdateButtons();

 private:
  RecordGrid* grid_;
  std::vector<std::pair<RecordGrid::Action, QToolButton*>> buttons_;
  std::function<bool(RecordGrid::Action)> guard_;
};

}  // namespace velmora
