#pragma once

#include <functional>
#include <string>
#include <vector>

#include "BackgroundRemoval.h"
#include "LineChecks.h"
#include "LineTotals.h"
#include "Side.h"
#include "TFixedFormatDataSet.h"

namespace velmora {

// What happens to one side's line table around a store or a deletion: the line
// is stamped and checked before it is stored, and afterwards the table reaches
// its snapshot copy and its working file and the totals are counted afresh.
class StatementLines {
 public:
  StatementLines(Side side, TFixedFormatDataSet& table, std::string snapshotPath);

  Side side() const { return side_; }
  const std::string& afmField() const { return afmField_; }

  // Stamps the pending line (filler, record type) and judges it; an accepted
  // line gets its value in the stored form.
  LineVerdict CheckPendingLine(const std::string& filerAfm, bool newLine);
  // Writes the working file and its snapshot copy, then sums the lines.
  TotalsResult AfterLinesChanged();
  // Makes the snapshot copy of the working file, which holds every stored line.
  void TakeSnapshot();
  // Returns once the previous snapshot is entirely gone from the disk.
  void WaitForOldSnapshot() { oldSnapshot_.Wait(); }
  // The sums alone.
  TotalsResult Sum() const;
  // The tax numbers and obligation codes of all stored lines, in order.
  void Keys(std::vector<std::string>& afms, std::vector<std::string>& ypovolhs) const;

 private:
  std::optional<std::string> FirstStoredYpovolh(const std::string& afm) const;

  Side side_;
  TFixedFormatDataSet& table_;
  std::string snapshotPath_;
  std::string afmField_;
  BackgroundRemoval oldSnapshot_;
};

}  // namespace velmora
