#include "CheckCommand.h"

namespace velmora {

std::optional<std::vector<StatementProblem>> CheckStatement(Statement& statement,
                                                            Questions& questions,
                                                            const StatementForm& form,
                                                            const Today& today) {
  if (!questions.StorePendingLine(Side::Customers) || !questions.StorePendingLine(Side::Suppliers))
    return std::nullopt;
  const HeaderFields& header = form.header;
  StatementUnderCheck checked;
  checked.year = header.year.view();
  checked.currentYear = today.year;
  checked.filerTaxNumber = header.taxNumber.view();
  checked.installationType = header.installationType.view();
  checked.taxOfficeChosen = !header.taxOfficeCode.empty();
  checked.customerLines = &statement.Table(Side::Customers).Lines();
  checked.supplierLines = &statement.Table(Side::Suppliers).Lines();
  return ListStatementProblems(checked);
}

}  // namespace velmora
