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

bool LineTotalsSum::AddInvoices(std::string_view invoiceText) {
  if (!result_.totals) return false;
  const auto invoices = ParseWholeNumber(invoiceText);
  if (!invoices) {
    result_ = Failure(InvoiceCountNotANumberMessage(invoiceText));
    return false;
  }
  if (!AddFits(result_.totals->invoices, *invoices)) {
    result_ = Failure(kInvoiceTotalTooLarge);
    return false;
  }
  result_.totals->invoices += *invoices;
  return true;
}

bool LineTotalsSum::AddValue(std::string_view valueText) {
  if (!result_.totals) return false;
  const auto value = Amount::Parse(valueText);
  if (!value) {
    result_ = Failure(ValueNotANumberMessage(valueText));
    return false;
  }
  const auto sum = result_.totals->value.Plus(*value);
  if (!sum) {
    result_ = Failure(kValueTotalTooLarge);
    return false;
  }
  result_.totals->value = *sum;
  return true;
}

TotalsResult SumLines(size_t count, const std::function<std::string(size_t)>& invoiceText,
                      const std::function<std::string(size_t)>& valueText) {
  LineTotalsSum sum;
  for (size_t i = 0; i < count; ++i) {
    if (!sum.AddInvoices(invoiceText(i)) || !sum.AddValue(valueText(i))) break;
  }
  return sum.Result();
}

std::string FormatInvoiceTotal(int64_t invoices) { return FormatGeneralNumber(invoices); }

std::string FormatValueTotal(const Amount& value) { return value.FormatFixed(); }

}  // namespace velmora
