#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AtomicFile.h"
#include "Cp1253.h"
#include "LineChecks.h"
#include "RecordLayout.h"
#include "Side.h"
#include "TypedLineRun.h"

// The pieces of storing many lines at once: each line's checks on its own, run
// on two threads; the look-ahead of the judging in order; and the working file
// written while the lines are judged.

namespace velmora {

// What the checks of a line on its own said: whether it passed, and its value as
// it is to be stored, as much of it as the field holds. Kept for every line of a
// large import, so small and without allocations.
class LoneCheck {
 public:
  LoneCheck() = default;
  LoneCheck(const LineVerdict& verdict, std::size_t valueWidth)
      : accepted(verdict.accepted),
        valueLength_(static_cast<std::uint8_t>(
            std::min({verdict.normalisedValue.size(), sizeof value_, valueWidth}))) {
    std::copy_n(verdict.normalisedValue.data(), valueLength_, value_.data());
  }
  std::string_view NormalisedValue() const { return {value_.data(), valueLength_}; }

  bool accepted = false;

 private:
  std::uint8_t valueLength_ = 0;
  std::array<char, 23> value_{};
};

// A field of a working line written as the line table writes it: blanked, then
// as much of the text as it holds.
void WriteLineField(std::string& line, LineField field, std::string_view text);

// Each line cut to the record length and stamped as a store stamps it (blank
// filler, the side's record type), then checked on its own (the checks that do not
// look at other lines); the lines are shared between two threads.
std::vector<LoneCheck> StampAndCheckAlone(std::vector<Cp1253Text>& lines, Side side,
                                          const std::string& filerTaxNumber);

// Asks for what judging lines[i + 8] and lines[i + 16] will read, ahead of time:
// the lines themselves, and their numbers' slots in the run's index.
void PrefetchAhead(const std::vector<Cp1253Text>& lines, std::size_t i, const TypedLineRun& run);

// The lines accepted so far, written after the stored lines into the working
// file by a thread of its own as they are handed over; the file is put in place
// only by Finish.
class AcceptedLines {
 public:
  AcceptedLines(const std::string& path, const std::vector<std::string>& stored, std::size_t most);

  // Keeps a line, no more than `most` in all; the reference stays valid.
  const std::string& Add(std::string line) {
    lines_.push_back(std::move(line));
    return lines_.back();
  }
  std::size_t size() const { return lines_.size(); }
  // Hands the lines kept so far to the writing thread.
  void Publish() { file_.Publish(lines_.size()); }
  // Writes the rest and puts the file in place (throws VelmoraError as
  // WriteLinesAtomically does); the lines are then taken over.
  std::vector<std::string> Finish();

 private:
  // Reserved before the writer starts, so that the lines never move.
  std::vector<std::string> lines_;
  LinesFileWriter file_;
};

}  // namespace velmora
