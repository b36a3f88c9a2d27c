#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "BackgroundRemoval.h"
#include "BulkLineChecks.h"
#include "Cp1253.h"
#include "LineChecks.h"
#include "LineTotals.h"
#include "RecordLayout.h"
#include "RecordTable.h"
#include "Side.h"

namespace velmora {

// Told how far a long run of lines has come; answers false to stop it.
using LineProgress = std::function<bool(std::size_t done, std::size_t total)>;

// What became of lines added in one go.
struct AppendedLines {
  // Lines stored, from the first given on.
  std::size_t stored = 0;
  // Why the line after them was refused; its record, stamped but with its value
  // as given, is what stays pending.
  std::optional<LineVerdict> refusal;
  std::string refusedRecord;
  // Stopped through the progress: nothing was stored.
  bool cancelled = false;
  // The sums after the store; set when a line was stored.
  TotalsResult totals;
};

// What happens to one side's line table around a store or a deletion: the line
// is stamped and checked before it is stored, and afterwards the table reaches
// its snapshot copy and its working file and the totals are counted afresh.
class StatementLines {
 public:
  StatementLines(Side side, RecordTable& table, std::string snapshotPath);

  Side side() const { return side_; }

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
  // Stores the lines after the stored ones, in order, each checked as a new line
  // typed into the grid would be when stored (the duplicate check sees the lines
  // stored before it, these included), up to the first refusal. The working file,
  // its snapshot and the sums are written and counted once for them all. The table
  // must not hold a pending line. Throws VelmoraError with the system's reason when
  // the working file cannot be written; nothing is stored then.
  // The lines given are taken over as they are stored.
  AppendedLines AppendLines(std::vector<Cp1253Text> lines, const std::string& filerTaxNumber,
                            const LineProgress& progress);
  // Begins a new line holding this record, as a refused line stays pending.
  void BeginNewLine(const std::string& record);
  // The sums alone.
  TotalsResult Sum() const;
  // The tax numbers and obligation codes of all stored lines, in order.
  void Keys(std::vector<std::string>& taxNumbers, std::vector<std::string>& obligations) const;

 private:
  std::optional<std::string> FirstStoredObligation(const std::string& taxNumber) const;
  // The schema's name of a field on this side.
  const char* Field(LineField field) const;
  // The steps of AppendLines after each line's checks on its own: the lines
  // judged in order against the stored lines and each other, up to the first
  // refusal, each accepted line handed on to the working file and added to the
  // sums of the stored ones; then the accepted lines stored in the table and its
  // snapshot.
  AppendedLines JudgeInOrder(std::vector<Cp1253Text>& lines, const std::vector<LoneCheck>& alone,
                             const std::string& filerTaxNumber, AcceptedLines& accepted,
                             LineTotalsSum& totals, const LineProgress& progress) const;
  void StoreAccepted(AcceptedLines& accepted);

  Side side_;
  RecordTable& table_;
  std::string snapshotPath_;
  BackgroundRemoval oldSnapshot_;
};

}  // namespace velmora
