// Reads any bytes as a submission file. What the reader opens, the writer must be
// able to write again, and that file must read back to the same statement.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "HeaderLine.h"
#include "LineTotals.h"
#include "RecordLayout.h"
#include "SubmissionReader.h"
#include "SubmissionWriter.h"

namespace {

using velmora::OpenedStatement;

void Require(bool condition) {
  if (!condition) std::abort();
}

// A line as written again: renumbered, its filler blank.
std::string WithoutNumberAndFiller(const std::string& line) {
  const auto sequence = velmora::LineSpan(velmora::LineField::SequenceNumber);
  const auto filler = velmora::LineSpan(velmora::LineField::Filler);
  return line.substr(0, sequence.offset) +
         line.substr(sequence.end(), filler.offset - sequence.end());
}

void RequireSameLines(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  Require(a.size() == b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    Require(WithoutNumberAndFiller(a[i]) == WithoutNumberAndFiller(b[i]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto first = velmora::ReadSubmissionFile(bytes);
  auto* opened = std::get_if<OpenedStatement>(&first);
  if (opened == nullptr) return 0;
  for (const auto* lines : {&opened->customerLines, &opened->supplierLines, &opened->headerLines}) {
    for (const std::string& line : *lines) Require(line.size() == velmora::kRecordLength);
  }

  velmora::SubmissionStatement statement;
  statement.creditBalances = opened->creditBalances;
  statement.date = "20240131";
  if (!opened->headerLines.empty())
    statement.header = velmora::ParseHeaderLine(opened->headerLines[0]);
  statement.customerLines = opened->customerLines;
  statement.supplierLines = opened->supplierLines;
  statement.retailSales = opened->retailSales;
  statement.customersWithoutItemisation = opened->customersWithoutItemisation;
  statement.suppliersWithoutItemisation = opened->suppliersWithoutItemisation;
  statement.customerInvoiceTotal = velmora::FormatInvoiceTotal(opened->customerTotals.invoices);
  statement.customerValueTotal = velmora::FormatValueTotal(opened->customerTotals.value);
  statement.supplierInvoiceTotal = velmora::FormatInvoiceTotal(opened->supplierTotals.invoices);
  statement.supplierValueTotal = velmora::FormatValueTotal(opened->supplierTotals.value);
  const auto composed = velmora::ComposeSubmissionFile(statement);
  // The writer may refuse what it cannot write whole (a header text beyond its
  // columns, totals beyond 16 digits); it then writes nothing.
  const auto* file = std::get_if<std::string>(&composed);
  if (file == nullptr) return 0;

  const auto second = velmora::ReadSubmissionFile(*file);
  const auto* again = std::get_if<OpenedStatement>(&second);
  Require(again != nullptr);
  Require(again->creditBalances == opened->creditBalances);
  Require(again->headerLines.size() == 1);
  if (!opened->headerLines.empty()) {
    Require(velmora::ParseHeaderLine(again->headerLines[0]) == statement.header);
  }
  RequireSameLines(again->customerLines, opened->customerLines);
  RequireSameLines(again->supplierLines, opened->supplierLines);
  Require(again->retailSales == opened->retailSales);
  Require(again->customersWithoutItemisation == opened->customersWithoutItemisation);
  Require(again->suppliersWithoutItemisation == opened->suppliersWithoutItemisation);
  Require(again->customerTotals.invoices == opened->customerTotals.invoices);
  Require(again->customerTotals.value == opened->customerTotals.value);
  Require(again->supplierTotals.invoices == opened->supplierTotals.invoices);
  Require(again->supplierTotals.value == opened->supplierTotals.value);
  return 0;
}
