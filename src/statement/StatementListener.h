#pragma once

#include <string>

#include "LineChecks.h"
#include "Side.h"

namespace velmora {

// What a statement tells whoever shows it. The window implements it; tests and
// the benchmark listen with as little as they need. Every text is UTF-8.
class StatementListener {
 public:
  virtual ~StatementListener() = default;

  // A line its checks refused: it stays pending, and the store stops.
  virtual void LineRefused(Side /*side*/, const LineVerdict& /*verdict*/) {}
  // After a line was stored or deleted, and after a file was loaded or lines
  // were added in one go: the count and the totals of that side are new.
  virtual void LinesChanged(Side /*side*/) {}
  // The side's table was reopened on more lines (and may hold a pending new line
  // again): whatever shows it must read it afresh.
  virtual void TableReplaced(Side /*side*/) {}
  // The totals could not be counted; the line is stored all the same.
  virtual void TotalsProblem(const std::string& /*message*/) {}
};

}  // namespace velmora
