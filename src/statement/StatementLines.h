#pragma once

#include <functional>
#include <string>
#include <vector>

#include "BackgroundRemoval.h"
#include "LineChecks.h"
#include "LineTotals.h"
#include "RecordLayout.h"
#include "RecordTable.h"
#include "Side.h"

namespace velmora {

// What happens to one side's line table around a store or a deletion: the line
// is stamped and checked before it is stored, and afterwards the table reaches
// its snapshot copy and its working file and the totals are counted afresh.
class StatementLines {
 public:
  StatementLines(Side side, RecordTable& table, std::string snapshotPath);

  Side side() const { return side_; }
  const std::string& taxNumberField() const { return taxNumberField_; }

  // Stamps the pending line (filler, record type) and judges it; an accepted
  // line gets its value in the stored form.
  LineVerdict CheckPendingLine(const std::string& filerTaxNumber, bool newLine);
  // Writes the working file and its snapshot copy, before a store or a deletion
  // is final; throws VelmoraError with the system's reason when the working file
  // cannot be written, and the table then undoes the change.
  void WriteLines();
  // Makes the snapshot copy of the working file, which holds every stored line.
  void TakeSnapshot();
  // Returns once the previous snapshot is entirely gone from the disk.
  void WaitForOldSnapshot() { oldSnapshot_.Wait(); }
  // The sums alone.
  TotalsResult Sum() const;
  // The tax numbers and obligation codes of all stored lines, in order.
  void Keys(std::vector<std::string>& taxNumbers, std::vector<std::string>& obligations) const;

 private:
  std::optional<std::string> FirstStoredObligation(const std::string& taxNumber) const;
  // The schema's name of a field on this side.
  const char* Field(LineField field) const;

  Side side_;
  RecordTable& table_;
  std::string snapshotPath_;
  std::string taxNumberField_;
  BackgroundRemoval oldSnapshot_;
};

}  // namespace velmora
