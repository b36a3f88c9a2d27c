#include "LineTotals.h"

#include <limits>

#include "LineChecks.h"
#include "WholeNumber.h"

namespace velmora {

namespace {

constexpr const char* kInvoiceTotalTooLarge = "Το σύνολο των τιμολογίων είναι πολύ μεγάλο";
constexpr const char* kValueTotalTooLarge = "Το σύνολο της αξίας είναι πολύ μεγάλο";

TotalsResult Failure(std::string message) { return {std::nullopt, std::move(message)}; }

bool AddFits(int64_t a, int64_t b) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  return b >= 0 ? a <= kMax - b : a >= kMin - b;
}

}  // namespace

TotalsResult SumLines(size_t count, const std::function<std::string(size_t)>& invoiceText,
                      const std::function<std::string(size_t)>& valueText) {
  LineTotals totals;
  for (size_t i = 0; i < count; ++i) {
    const std::string invoicesOfLine = invoiceText(i);
    const auto invoices = ParseWholeNumber(invoicesOfLine);
    if (!invoices) return Failure(InvoiceCountNotANumberMessage(invoicesOfLine));
    if (!AddFits(totals.invoices, *invoices)) return Failure(kInvoiceTotalTooLarge);
    totals.invoices += *invoices;

    const std::string valueOfLine = valueText(i);
    const auto value = Amount::Parse(valueOfLine);
    if (!value) return Failure(ValueNotANumberMessage(valueOfLine));
    const auto sum = totals.value.Plus(*value);
    if (!sum) return Failure(kValueTotalTooLarge);
    totals.value = *sum;
  }
  return {totals, {}};
}

std::string FormatInvoiceTotal(int64_t invoices) { return FormatGeneralNumber(invoices); }

std::string FormatValueTotal(const Amount& value) { return value.FormatFixed(); }

}  // namespace velmora
