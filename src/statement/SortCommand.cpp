#include "SortCommand.h"

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "AtomicFile.h"

namespace velmora {

namespace {

std::string SortFailedMessage(const char* reason) {
  return std::string("Η ταξινόμηση δεν έγινε: δεν ήταν δυνατό να γραφτεί το αρχείο εργασίας.\n") +
         reason + "\nΟι γραμμές έμειναν στη σειρά που είχαν.";
}

}  // namespace

SortOutcome SortLines(Statement& statement, Questions& questions, Side side, SortKey key) {
  RecordTable& table = statement.Table(side);
  if (!table.Active() || !questions.StorePendingLine(side)) return {};
  BusyScope busy(questions);
  std::vector<std::size_t> order;
  try {
    order = SortedLineOrder(table.Lines(), SortKeyOffset(key));
    // The file first: should it fail, the table still holds what the file holds.
    WriteLinesAtomically(table.FileName(), table.Lines(), order, /*durable=*/false);
  } catch (const std::exception& error) {
    busy.Stop();
    questions.Warn(SortFailedMessage(error.what()));
    return {};
  }
  // Nothing was changed through the table, so closing it writes nothing. The lines
  // themselves are moved into their new places, not copied.
  std::vector<std::string> lines = table.CloseTakingLines();
  std::vector<std::string> sorted(lines.size());
  for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = std::move(lines[order[i]]);
  lines = {};
  table.OpenWithLines(std::move(sorted));
  try {
    statement.Lines(side).TakeSnapshot();
  } catch (const std::exception&) {
    // The next store or deletion takes the snapshot again; the sort stands.
  }
  statement.SetModified(true);
  return {true};
}

}  // namespace velmora
