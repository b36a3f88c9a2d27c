#include "StatementProblems.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "TypedLineRun.h"

namespace velmora {

namespace {

// Every line the line checks refuse, each judged as if typed after the ones before it.
void AddLineProblems(Side side, const std::vector<std::string>& lines,
                     std::string_view filerTaxNumber, std::vector<StatementProblem>& problems) {
  TypedLineRun run(side, filerTaxNumber, lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    LineVerdict verdict = run.Judge(lines[i]);
    // Stored all the same: a later line is compared with it.
    run.AddStored(lines[i]);
    if (!verdict.accepted)
      problems.push_back({side, i, verdict.field, {}, std::move(verdict.message)});
  }
}

// The line the checks before a save stop at: the first that carries the filer's
// number or whose number and code a later line repeats.
std::size_t FirstLineFailingBeforeSave(const std::vector<std::string>& taxNumbers,
                                       const std::vector<std::string>& obligations,
                                       std::string_view filerTaxNumber) {
  std::unordered_set<std::string> later;
  std::size_t first = taxNumbers.size();
  for (std::size_t i = taxNumbers.size(); i-- > 0;) {
    std::string key = taxNumbers[i] + '\n' + obligations[i];
    if (taxNumbers[i] == filerTaxNumber || later.count(key) != 0) first = i;
    later.insert(std::move(key));
  }
  return first;
}

void AddSaveProblem(Side side, const std::vector<std::string>& lines,
                    std::string_view filerTaxNumber, std::vector<StatementProblem>& problems) {
  std::vector<std::string> taxNumbers, obligations;
  taxNumbers.reserve(lines.size());
  obligations.reserve(lines.size());
  for (const std::string& line : lines) {
    taxNumbers.emplace_back(LineFieldText(line, LineField::TaxNumber));
    obligations.emplace_back(LineFieldText(line, LineField::Obligation));
  }
  const auto failure = CheckSideBeforeSave(side, taxNumbers, obligations, filerTaxNumber);
  if (!failure) return;
  const std::size_t at = FirstLineFailingBeforeSave(taxNumbers, obligations, filerTaxNumber);
  problems.push_back({side, at, LineField::TaxNumber, {}, failure->message});
}

}  // namespace

std::vector<StatementProblem> ListStatementProblems(const StatementUnderCheck& statement) {
  std::vector<StatementProblem> problems;
  if (const auto failure =
          CheckFilerBeforeSave(statement.year, statement.currentYear, statement.filerTaxNumber,
                               statement.installationType, statement.taxOfficeChosen)) {
    problems.push_back({std::nullopt, 0, LineField::TaxNumber, failure->focus, failure->message});
  }
  static const std::vector<std::string> kNoLines;
  for (const Side side : {Side::Customers, Side::Suppliers}) {
    const std::vector<std::string>* lines =
        side == Side::Customers ? statement.customerLines : statement.supplierLines;
    if (!lines) lines = &kNoLines;
    const auto first = static_cast<std::ptrdiff_t>(problems.size());
    AddLineProblems(side, *lines, statement.filerTaxNumber, problems);
    AddSaveProblem(side, *lines, statement.filerTaxNumber, problems);
    std::stable_sort(
        problems.begin() + first, problems.end(),
        [](const StatementProblem& a, const StatementProblem& b) { return a.line < b.line; });
  }
  return problems;
}

}  // namespace velmora
