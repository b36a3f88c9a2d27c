#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "HeaderLine.h"

namespace velmora {

// Invents a large statement and writes it as a submission file: valid tax numbers
// (all distinct within a side, never the filer's), Greek names and addresses in
// Windows-1253, invoice counts and amounts, and the amounts records that agree with
// the lines. The same seed always gives the same bytes.
class StatementGenerator {
 public:
  explicit StatementGenerator(uint64_t seed);

  // Eight digits of prefix followed by their check digit (weights 256 down to 2,
  // remainder of 11, a remainder of 10 giving 0).
  static std::string ValidTaxNumber(uint32_t prefix);
  // The number of the index-th counter-party: distinct for every index below
  // 80,000,000, and never the filer's number nor ExtraTaxNumber's.
  static std::string CounterPartyTaxNumber(uint32_t index);
  // Numbers for lines added later, outside those of the generated lines.
  static std::string ExtraTaxNumber(uint32_t index);
  // The filer whose statement it is; the year of data is year.
  static HeaderFields Filer(std::string_view year);

  // The whole file: opening record with date ("YYYYMMDD"), header, the lines of both
  // sides, each side's amounts record; records of 150 characters ending in CR LF.
  std::string SubmissionFile(const HeaderFields& filer, std::string_view date, int customerLines,
                             int supplierLines);

 private:
  // Uniform enough for invented data, and the same on every standard library.
  uint64_t Below(uint64_t bound);
  const std::string& Pick(const std::vector<std::string>& words);
  // Columns 7-92 of a line record: tax number up to postcode, blank-filled.
  std::string CounterPartyTexts(uint32_t index, char obligation);

  std::mt19937_64 random_;
  // Windows-1253 words.
  std::vector<std::string> surnames_, givenNames_, professions_, towns_, streets_;
};

}  // namespace velmora
