#pragma once

#include <QWidget>
#include <functional>

#include "DBGrid.h"

namespace velmora {

// The six buttons over a grid: first, last, insert, delete, store, cancel, each
// with its caption above it.
class DBNavigator : public QWidget {
 public:
  DBNavigator(DBGrid* grid, QWidget* parent = nullptr);

  // Runs before a button's action; false cancels the action silently.
  std::function<bool(DBGrid::Action)> BeforeAction;

  void Click(DBGrid::Action action);

 private:
  DBGrid* grid_;
};

}  // namespace velmora
