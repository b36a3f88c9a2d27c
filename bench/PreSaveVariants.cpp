#include "PreSaveVariants.h"

#include <stdexcept>

namespace velmora {

namespace {

// Line to takes the number and code of line from.
void Duplicate(LineKeys& keys, size_t from, size_t to) {
  keys.afms[to] = keys.afms[from];
  keys.ypovolhs[to] = keys.ypovolhs[from];
}

}  // namespace

std::vector<PreSaveVariant> PlantedVariants(const LineKeys& clean, const std::string& filerAfm) {
  const size_t n = clean.afms.size();
  if (n < 100 || clean.ypovolhs.size() != n) {
    throw std::invalid_argument("planted variants need at least 100 lines");
  }
  std::vector<PreSaveVariant> variants;
  auto add = [&](std::string name) -> LineKeys& {
    variants.push_back({std::move(name), clean});
    return variants.back().keys;
  };

  Duplicate(add("duplicate near the end"), 40, n - 1);

  add("filer number").afms[70] = filerAfm;

  LineKeys& filerFirst = add("filer number, then duplicate");
  filerFirst.afms[25] = filerAfm;
  Duplicate(filerFirst, 40, n - 1);

  LineKeys& duplicateFirst = add("duplicate, then filer number");
  Duplicate(duplicateFirst, 15, n - 2);
  duplicateFirst.afms[60] = filerAfm;

  // The pair whose first line comes first is the one reported, although the other
  // pair's second line comes long before.
  LineKeys& twoPairs = add("two duplicates");
  Duplicate(twoPairs, 20, n - 1);
  Duplicate(twoPairs, 30, 31);

  LineKeys& otherCode = add("same number with another code, then duplicate");
  otherCode.afms[n - 3] = otherCode.afms[10];
  otherCode.ypovolhs[n - 3].assign(1, otherCode.ypovolhs[10] == "0" ? '1' : '0');
  Duplicate(otherCode, 45, n - 1);

  return variants;
}

bool SameVerdict(const std::optional<SaveCheckFailure>& a,
                 const std::optional<SaveCheckFailure>& b) {
  if (!a || !b) return !a && !b;
  return a->message == b->message && a->beep == b->beep && a->focus == b->focus;
}

}  // namespace velmora
