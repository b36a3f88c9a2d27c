#include "PrintCommand.h"

#include <exception>

#include "StatementPage.h"
#include "TaxOffices.h"

namespace velmora {

namespace {

// The office's name as the list shows it for the chosen code; empty while none is chosen.
Cp1253Text TaxOfficeName(const Cp1253Text& code) {
  const int index = FindTaxOfficeByCode(code.view());
  if (index < 0) return {};
  const auto name = Utf8ToCp1253(TaxOffices()[static_cast<std::size_t>(index)].name);
  return name ? Cp1253Text(*name) : Cp1253Text();
}

}  // namespace

PrintOutcome PrintStatementPage(Statement& statement, Questions& questions, Side side,
                                const StatementForm& form, const std::string& folder) {
  // A refused line has had its own message.
  if (!questions.StorePendingLine(side)) return {};
  const bool customers = side == Side::Customers;
  const std::string path = folder + "/" + StatementPageFileName(side);
  StatementPageInput input;
  try {
    input.side = side;
    input.creditBalances = form.creditBalances;
    input.filer = PageFilerFromHeader(form.header, TaxOfficeName(form.header.taxOfficeCode));
    // Every stored line is in the table, which writes its working file on each store.
    input.lines = statement.Table(side).Lines();
    input.retailSales = customers ? form.retailSales : Cp1253Text();
    input.withoutItemisation =
        customers ? form.customersWithoutItemisation : form.suppliersWithoutItemisation;
    input.invoiceTotal = statement.InvoiceTotalText(side);
    input.valueTotal = statement.ValueTotalText(side);
    if (const auto failure = WriteStatementPage(path, ComposeStatementPage(input))) {
      questions.Report(*failure);
      return {};
    }
  } catch (const std::exception& error) {
    questions.Warn(std::string(kPrintPreparationFailed) + "\n" + error.what());
    return {};
  }
  return {path, input};
}

}  // namespace velmora
