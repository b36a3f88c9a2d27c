#include "PreSaveVariants.h"

#include <stdexcept>

namespace velmora {

namespace {

// Line to takes the number and code of line from.
void Duplicate(LineKeys& keys, size_t from, size_t to) {
  keys.taxNumbers[to] = keys.taxNumbers[from];
  keys.obligations[to] = keys.obligations[from];
}

}  // namespace

std::vector<PreSaveVariant> PlantedVariants(const LineKeys& clean,
                                            const std::string& filerTaxNumber) {
  const size_t n = clean.taxNumbers.size();
  if (n < 100 || clean.obligations.size() != n) {
    throw std::invalid_argument("planted variants need at least 100 lines");
  }
  std::vector<PreSaveVariant> variants;
  auto add = [&](std::string name) -> LineKeys& {
    variants.push_back({std::move(name), clean});
    return variants.back().keys;
  };

  Duplicate(add("duplicate near the end"), 40, n - 1);

  add("filer number").taxNumbers[70] = filerTaxNumber;

  LineKeys& filerFirst = add("filer number, then duplicate");
  filerFirst.taxNumbers[25] = filerTaxNumber;
  Duplicate(filerFirst, 40, n - 1);

  LineKeys& duplicateFirst = add("duplicate, then filer number");
  Duplicate(duplicateFirst, 15, n - 2);
  duplicateFirst.taxNumbers[60] = filerTaxNumber;

  // The pair whose first line comes first is the one reported, although the other
  // pair's second line comes long before.
  LineKeys& twoPairs = add("two duplicates");
  Duplicate(twoPairs, 20, n - 1);
  Duplicate(twoPairs, 30, 31);

  LineKeys& otherCode = add("same number with another code, then duplicate");
  otherCode.taxNumbers[n - 3] = otherCode.taxNumbers[10];
  otherCode.obligations[n - 3].assign(1, otherCode.obligations[10] == "0" ? '1' : '0');
  Duplicate(otherCode, 45, n - 1);

  return variants;
}

bool SameVerdict(const std::optional<Failure>& a, const std::optional<Failure>& b) {
  if (!a || !b) return !a && !b;
  return a->message == b->message && a->beep == b->beep && a->focus == b->focus;
}

}  // namespace velmora
