#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "FirstObligationIndex.h"
#include "LineChecks.h"
#include "Side.h"

namespace velmora {

// The texts of a working line that the line checks read, as the line table
// reads them.
void ReadCheckedFields(std::string_view line, LineCheckInput& input);

// Working lines of one side judged as if typed one after the other after the
// lines already stored: each by the line checks, a repeated tax number and code
// refused at its later line.
class TypedLineRun {
 public:
  // filerTaxNumber: the filer's tax number box as typed (Windows-1253).
  // expectedLines: how many lines the run may hold, stored and judged.
  TypedLineRun(Side side, std::string_view filerTaxNumber, std::size_t expectedLines);
  TypedLineRun(const TypedLineRun&) = delete;
  TypedLineRun& operator=(const TypedLineRun&) = delete;

  // A line already stored, which later lines may repeat; it must outlive the run.
  void AddStored(std::string_view line);
  // The verdict on the line typed next; AddStored it once it counts as stored.
  LineVerdict Judge(std::string_view line);
  // The same for a line whose checks on its own were made beforehand
  // (CheckLineAlone): why it is refused, or nullopt when it is accepted.
  std::optional<LineVerdict> Refusal(std::string_view line, bool acceptedAlone);
  // Asks for what judging the line will look up, ahead of time: the slots of a
  // large run are spread far beyond the caches.
  void Prefetch(std::string_view line) const;

 private:
  // The obligation code of the first stored line with each tax number.
  FirstObligationIndex firstObligation_;
  // One input for every line, so that its texts keep their room from line to line.
  LineCheckInput input_;
  FirstStoredObligation findFirst_;
};

}  // namespace velmora
