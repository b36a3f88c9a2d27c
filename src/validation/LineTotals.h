#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Amount.h"

namespace velmora {

struct LineTotals {
  int64_t invoices = 0;
  Amount value;
};

struct TotalsResult {
  // nullopt when a line's text does not convert or a sum does not fit.
  std::optional<LineTotals> totals;
  // UTF-8, set when totals is nullopt.
  std::string message;
};

// Sums the invoice counts and values of lines 0 .. count-1, whose field texts
// (Windows-1253) the two functions give. The first text that does not convert ends
// the walk; the invoice count of a line is read before its value.
TotalsResult SumLines(size_t count, const std::function<std::string(size_t)>& invoiceText,
                      const std::function<std::string(size_t)>& valueText);

// The same one line at a time, for lines whose texts are at hand one by one.
class LineTotalsSum {
 public:
  // Add a line's invoice count, then its value; false, and nothing more added,
  // once a text does not convert or a sum does not fit.
  bool AddInvoices(std::string_view invoiceText);
  bool AddValue(std::string_view valueText);
  const TotalsResult& Result() const { return result_; }

 private:
  TotalsResult result_{LineTotals{}, {}};
};

// The invoice total as plain digits.
std::string FormatInvoiceTotal(int64_t invoices);
// The value total with two decimals, "0.00".
std::string FormatValueTotal(const Amount& value);

}  // namespace velmora
