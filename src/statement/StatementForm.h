#pragma once

#include <string>

#include "HeaderLine.h"

namespace velmora {

// What the window shows of a statement besides its lines: the filer's fields,
// the kind and the amount boxes, all as Windows-1253 text.
struct StatementForm {
  // As typed; the tax office's code is empty while no office is chosen.
  HeaderFields header;
  bool creditBalances = false;  // "Πιστωτικά Υπόλοιπα"
  Cp1253Text retailSales;
  Cp1253Text customersWithoutItemisation;
  Cp1253Text suppliersWithoutItemisation;

  bool operator==(const StatementForm&) const = default;
};

// The clock, as the commands need it.
struct Today {
  int year = 0;
  std::string date;  // "YYYYMMDD"
};

}  // namespace velmora
