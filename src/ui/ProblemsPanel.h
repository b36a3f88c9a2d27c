#pragma once

#include <QDockWidget>
#include <vector>

#include "StatementProblems.h"

class QTreeWidget;

namespace velmora {

// The list of every problem that "Έλεγχος δήλωσης" found, below the grids: the
// page, the line, the field and the message of each. It stays until closed and
// is filled anew by the next check.
class ProblemsPanel : public QDockWidget {
  Q_OBJECT

 public:
  explicit ProblemsPanel(QWidget* parent = nullptr);

  void ShowProblems(const std::vector<StatementProblem>& problems);

 signals:
  // The user chose the problem of that index, to go where it lies.
  void problemChosen(const StatementProblem& problem);

 private:
  QTreeWidget* list_;
  std::vector<StatementProblem> problems_;
};

}  // namespace velmora
