#include "SubmissionCheck.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <variant>

#include "HeaderLine.h"
#include "LineChecks.h"
#include "PreSaveChecks.h"
#include "RecordLayout.h"
#include "SubmissionReader.h"
#include "TaxOffices.h"
#include "PlainText.h"

namespace velmora {

namespace {

// A field of a working line as the line table gives it: without trailing blanks.
std::string FieldText(std::string_view line, LineField field) {
  return std::string(WithoutTrailingBlanks(LineSpan(field).In(line)));
}

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

// Runs the line checks on every line of one side, in file order, as if each were
// typed anew after the ones before it.
void CheckLines(Side side, const std::vector<std::string>& lines,
                const std::vector<int>& lineNumbers, const std::string& filerTaxNumber,
                std::vector<SubmissionProblem>& problems) {
  std::unordered_map<std::string, std::string> firstObligationByTaxNumber;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const LineCheckInput input{side,
                               FieldText(line, LineField::TaxNumber),
                               FieldText(line, LineField::Obligation),
                               FieldText(line, LineField::InvoiceCount),
                               FieldText(line, LineField::Value),
                               filerTaxNumber,
                               true};
    const LineVerdict verdict = CheckLine(input, [&](const std::string& taxNumber) {
      const auto found = firstObligationByTaxNumber.find(std::string(WithoutControls(taxNumber)));
      return found == firstObligationByTaxNumber.end() ? std::nullopt
                                                       : std::optional<std::string>(found->second);
    });
    if (!verdict.accepted) problems.push_back({lineNumbers[i], OneLine(verdict.message)});
    firstObligationByTaxNumber.try_emplace(std::string(WithoutControls(input.taxNumber)),
                                           input.obligation);
  }
}

// The index of the line the checks before a save stop at: the first that carries the
// filer's number or is repeated, with the same code, by a later line.
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

void CheckSideBeforeSaving(Side side, const std::vector<std::string>& lines,
                           const std::vector<int>& lineNumbers, const std::string& filerTaxNumber,
                           std::vector<SubmissionProblem>& problems) {
  std::vector<std::string> taxNumbers, obligations;
  taxNumbers.reserve(lines.size());
  obligations.reserve(lines.size());
  for (const std::string& line : lines) {
    taxNumbers.push_back(FieldText(line, LineField::TaxNumber));
    obligations.push_back(FieldText(line, LineField::Obligation));
  }
  const auto failure = CheckSideBeforeSave(side, taxNumbers, obligations, filerTaxNumber);
  if (!failure) return;
  const std::size_t at = FirstLineFailingBeforeSave(taxNumbers, obligations, filerTaxNumber);
  problems.push_back({at < lineNumbers.size() ? lineNumbers[at] : 0, OneLine(failure->message)});
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
  const std::string& filerTaxNumber = header.taxNumber.bytes();
  CheckLines(Side::Customers, statement.customerLines, where.customers, filerTaxNumber, problems);
  CheckLines(Side::Suppliers, statement.supplierLines, where.suppliers, filerTaxNumber, problems);

  if (const auto failure = CheckFilerBeforeSave(
          header.year.view(), currentYear, filerTaxNumber, header.installationType.view(),
          FindTaxOfficeByCode(header.taxOfficeCode.view()) >= 0)) {
    problems.push_back({where.firstHeader, OneLine(failure->message)});
  }
  CheckSideBeforeSaving(Side::Customers, statement.customerLines, where.customers, filerTaxNumber,
                        problems);
  CheckSideBeforeSaving(Side::Suppliers, statement.supplierLines, where.suppliers, filerTaxNumber,
                        problems);
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
