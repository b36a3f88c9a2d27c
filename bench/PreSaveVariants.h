#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PreSaveChecks.h"

namespace velmora {

// The tax numbers and obligation codes of one side's lines, as Keys gives them.
struct LineKeys {
  std::vector<std::string> taxNumbers, obligations;
};

struct PreSaveVariant {
  std::string name;
  LineKeys keys;
};

// Copies of clean keys (at least 100 lines, no failure of their own) with planted
// faults: a duplicate whose second line is near the end, the filer's own number, both
// in either order, two duplicates whose first lines and second lines come in opposite
// orders, and a number repeated with another obligation code (which is no duplicate).
// Every variant fails within its first hundred lines, so that the pairwise rule
// reaches its verdict after fewer than a hundred passes over the list, not one per line.
std::vector<PreSaveVariant> PlantedVariants(const LineKeys& clean,
                                            const std::string& filerTaxNumber);

// The same message, beep and focus, or both no failure.
bool SameVerdict(const std::optional<Failure>& a, const std::optional<Failure>& b);

}  // namespace velmora
