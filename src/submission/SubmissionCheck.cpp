#include "SubmissionCheck.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <variant>

#include "HeaderLine.h"
#include "RecordLayout.h"
#include "StatementProblems.h"
#include "SubmissionReader.h"
#include "TaxOffices.h"

namespace velmora {

namespace {

// Messages are shown one a line: a message and its reason are joined by a colon.
std::string OneLine(std::string_view message) {
  std::string line;
  for (const char c : message) line += c == '\n' ? std::string_view(": ") : std::string_view(&c, 1);
  return line;
}

// The 1-based file line of each record "1", "2" and "4" of a file the reader took;
// its lines end at CR, LF or CR LF like the reader's.
struct RecordLines {
  int firstHeader = 0;
  std::vector<int> customers, suppliers;
};

RecordLines FindRecordLines(std::string_view bytes) {
  RecordLines found;
  int lineNumber = 0;
  std::size_t at = 0;
  while (at < bytes.size()) {
    ++lineNumber;
    const char type = bytes[at];
    std::size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = bytes.size();
    if (lineNumber > 1 && end > at) {
      if (type == record_type::kHeader && found.firstHeader == 0) found.firstHeader = lineNumber;
      if (type == record_type::kCustomerLine) found.customers.push_back(lineNumber);
      if (type == record_type::kSupplierLine) found.suppliers.push_back(lineNumber);
    }
    at = end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
  }
  return found;
}

}  // namespace

std::vector<SubmissionProblem> CheckSubmissionBytes(std::string_view bytes, int currentYear) {
  auto read = ReadSubmissionFile(bytes);
  if (const auto* failure = std::get_if<ReadFailure>(&read)) {
    // A refusal without a line is about the opening line, unless about the size.
    const int line = failure->lineNumber != 0 || bytes.size() > kSubmissionFileSizeLimit
                         ? failure->lineNumber
                         : 1;
    return {{line, OneLine(failure->message)}};
  }
  const OpenedStatement& statement = std::get<OpenedStatement>(read);
  const RecordLines where = FindRecordLines(bytes);
  std::vector<SubmissionProblem> problems;

  const HeaderFields header =
      statement.headerLines.empty() ? HeaderFields{} : ParseHeaderLine(statement.headerLines[0]);
  StatementUnderCheck checked;
  checked.year = header.year.view();
  checked.currentYear = currentYear;
  checked.filerTaxNumber = header.taxNumber.view();
  checked.installationType = header.installationType.view();
  checked.taxOfficeChosen = FindTaxOfficeByCode(header.taxOfficeCode.view()) >= 0;
  checked.customerLines = &statement.customerLines;
  checked.supplierLines = &statement.supplierLines;
  for (const StatementProblem& problem : ListStatementProblems(checked)) {
    int lineNumber = where.firstHeader;
    if (problem.side) {
      const std::vector<int>& lines =
          *problem.side == Side::Customers ? where.customers : where.suppliers;
      lineNumber = problem.line < lines.size() ? lines[problem.line] : 0;
    }
    problems.push_back({lineNumber, OneLine(problem.message)});
  }
  std::stable_sort(problems.begin(), problems.end(),
                   [](const SubmissionProblem& a, const SubmissionProblem& b) {
                     return a.lineNumber < b.lineNumber;
                   });
  return problems;
}

SubmissionCheckResult CheckSubmissionFile(const std::string& path, int currentYear) {
  auto bytes = ReadSubmissionBytes(path);
  if (const auto* failure = std::get_if<ReadFailure>(&bytes)) {
    return {false, {{0, OneLine(failure->message)}}};
  }
  return {true, CheckSubmissionBytes(std::get<std::string>(bytes), currentYear)};
}

}  // namespace velmora
