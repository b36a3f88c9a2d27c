#pragma once

#include <string>
#include <utility>
#include <vector>

#include "StatementListener.h"

namespace velmora::test {

// Keeps what a statement told: the refusals, the sides whose lines changed, the
// sides whose table was reopened and the totals' problems, in order.
struct RecordingListener : StatementListener {
  void LineRefused(Side side, const LineVerdict& verdict) override {
    refusals.emplace_back(side, verdict.message);
  }
  void LinesChanged(Side side) override { changed.push_back(side); }
  void TableReplaced(Side side) override { replaced.push_back(side); }
  void TotalsProblem(const std::string& message) override { totalsProblems.push_back(message); }

  std::vector<std::pair<Side, std::string>> refusals;
  std::vector<Side> changed;
  std::vector<Side> replaced;
  std::vector<std::string> totalsProblems;
};

}  // namespace velmora::test
