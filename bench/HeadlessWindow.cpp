#include "HeadlessWindow.h"

#include "AmountBox.h"
#include "LineTotals.h"
#include "PreSaveChecks.h"
#include "SubmissionFileName.h"
#include "VelmoraError.h"

namespace velmora {

HeadlessWindow::HeadlessWindow(const std::string& baseFolder, int currentYear, std::string today)
    : currentYear_(currentYear), today_(std::move(today)), statement_(baseFolder) {
  statement_.FilerAfm = [this] { return filer_.afm; };
  statement_.OnLineRefused = [this](Side, const LineVerdict& verdict) {
    messages_.push_back(verdict.message);
  };
  statement_.OnLinesChanged = [this](Side side, int, const TotalsResult& result) {
    if (!result.totals) {
      messages_.push_back(result.message);
      return;
    }
    Page(side).invoiceTotal = FormatInvoiceTotal(result.totals->invoices);
    Page(side).valueTotal = FormatValueTotal(result.totals->value);
  };
}

void HeadlessWindow::ResetStatement() {
  statement_.Reset();
  filer_ = ParseHeaderLine(statement_.Files().ReadHeaderLine());
  filer_.officeCode.clear();
  customerPage_ = PageBoxes();
  supplierPage_ = PageBoxes();
  debitInvoices_ = true;
}

bool HeadlessWindow::N2Click(const std::string& path) {
  auto result = Statement::Read(path);
  if (const auto* failure = std::get_if<ReadFailure>(&result)) {
    messages_.push_back(failure->message);
    return false;
  }
  OpenedStatement& opened = std::get<OpenedStatement>(result);
  customerPage_.retailSales = opened.retailSales;
  customerPage_.withoutItemisation = opened.customersWithoutItemisation;
  supplierPage_.withoutItemisation = opened.suppliersWithoutItemisation;
  debitInvoices_ = !opened.creditBalances;
  statement_.Load(opened);
  filer_ = ParseHeaderLine(statement_.Files().ReadHeaderLine());
  return true;
}

SubmissionStatement HeadlessWindow::CurrentStatement() const {
  SubmissionStatement statement;
  statement.creditBalances = !debitInvoices_;
  statement.date = today_;
  statement.header = filer_;
  statement.customerLines = statement_.customers.Lines();
  statement.supplierLines = statement_.suppliers.Lines();
  statement.retailSales = customerPage_.retailSales;
  statement.customersWithoutItemisation = customerPage_.withoutItemisation;
  statement.suppliersWithoutItemisation = supplierPage_.withoutItemisation;
  statement.customerInvoiceTotal = customerPage_.invoiceTotal;
  statement.customerValueTotal = customerPage_.valueTotal;
  statement.supplierInvoiceTotal = supplierPage_.invoiceTotal;
  statement.supplierValueTotal = supplierPage_.valueTotal;
  return statement;
}

std::string HeadlessWindow::N7Click(const std::string& folder) {
  // The window's checks before a save; no line is ever pending here.
  if (auto failure = CheckFilerBeforeSave(filer_.year, currentYear_, filer_.afm,
                                          filer_.installationType, !filer_.officeCode.empty())) {
    messages_.push_back(failure->message);
    return {};
  }
  if (auto failure = statement_.CheckLines(filer_.afm)) {
    messages_.push_back(failure->message);
    return {};
  }
  const std::string path =
      folder + "/" +
      ProposeSubmissionFileName(filer_.year, filer_.afm, filer_.installationType, !debitInvoices_);
  for (std::string* amount : {&customerPage_.retailSales, &supplierPage_.withoutItemisation})
    *amount = NormaliseAmountBox(*amount);
  try {
    if (auto problem = Statement::Write(path, CurrentStatement())) {
      messages_.push_back(problem->message);
      return {};
    }
  } catch (const std::exception& error) {
    messages_.push_back(std::string("Η αποθήκευση σε αρχείο απέτυχε: ") + error.what());
    return {};
  }
  return path;
}

}  // namespace velmora
