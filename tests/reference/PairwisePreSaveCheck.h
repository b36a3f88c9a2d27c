#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PreSaveChecks.h"

namespace velmora::reference {

// The lines' check before a save by comparing every pair of lines: quadratic, and
// so the yardstick for the linear one in tests and the benchmark.
inline std::optional<Failure> CheckSideBeforeSavePairwise(
    Side side, const std::vector<std::string>& taxNumbers,
    const std::vector<std::string>& obligations, std::string_view filerTaxNumber) {
  for (size_t i = 0; i < taxNumbers.size(); ++i) {
    if (taxNumbers[i] == filerTaxNumber) return FilerNumberFailure(side, taxNumbers[i]);
    for (size_t j = i + 1; j < taxNumbers.size(); ++j) {
      if (taxNumbers[i] == taxNumbers[j] && obligations[i] == obligations[j])
        return DuplicateFailure(side, taxNumbers[i], obligations[i]);
    }
  }
  return std::nullopt;
}

}  // namespace velmora::reference
