#pragma once

#include <string_view>
#include <vector>

namespace velmora {

// A tax office as offered in the filer panel: its 4-digit code and its name (UTF-8).
struct TaxOffice {
  const char* code;
  const char* name;
};

// The offices in the order of the drop-down list.
const std::vector<TaxOffice>& TaxOffices();

// The index of the office with exactly this code, or -1.
int FindTaxOfficeByCode(std::string_view code);

}  // namespace velmora
