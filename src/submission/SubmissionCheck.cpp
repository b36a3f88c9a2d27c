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

namespace velmora {

namespace {

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Blanks and control characters around a key do not count when lines are looked up.
std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// A field of a working line as the line table gives it: without trailing blanks.
std::string FieldText(std::string_view line, LineField field) {
  return std::string(TrimTrailingBlanks(LineSpan(field).In(line)));
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
                const std::vector<int>& lineNumbers, const std::string& filerAfm,
                std::vector<SubmissionProblem>& problems) {
  std::unordered_map<std::string, std::string> firstYpovolhByAfm;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const LineCheckInput input{side,
                               FieldText(line, LineField::TaxNumber),
                               FieldText(line, LineField::Obligation),
                               FieldText(line, LineField::InvoiceCount),
                               FieldText(line, LineField::Value),
                               filerAfm,
                               true};
    const LineVerdict verdict = CheckLine(input, [&](const std::string& afm) {
      const auto found = firstYpovolhByAfm.find(std::string(TrimControls(afm)));
      return found == firstYpovolhByAfm.end() ? std::nullopt
                                              : std::optional<std::string>(found->second);
    });
    if (!verdict.accepted) problems.push_back({lineNumbers[i], OneLine(verdict.message)});
    firstYpovolhByAfm.try_emplace(std::string(TrimControls(input.afm)), input.ypovolh);
  }
}

// The index of the line the checks before a save stop at: the first that carries the
// filer's number or is repeated, with the same code, by a later line.
std::size_t FirstLineFailingBeforeSave(const std::vector<std::string>& afms,
                                       const std::vector<std::string>& ypovolhs,
                                       std::string_view filerAfm) {
  std::unordered_set<std::string> later;
  std::size_t first = afms.size();
  for (std::size_t i = afms.size(); i-- > 0;) {
    std::string key = afms[i] + '\n' + ypovolhs[i];
    if (afms[i] == filerAfm || later.count(key) != 0) first = i;
    later.insert(std::move(key));
  }
  return first;
}

void CheckSideBeforeSaving(Side side, const std::vector<std::string>& lines,
                           const std::vector<int>& lineNumbers, const std::string& filerAfm,
                           std::vector<SubmissionProblem>& problems) {
  std::vector<std::string> afms, ypovolhs;
  afms.reserve(lines.size());
  ypovolhs.reserve(lines.size());
  for (const std::string& line : lines) {
    afms.push_back(FieldText(line, LineField::TaxNumber));
    ypovolhs.push_back(FieldText(line, LineField::Obligation));
  }
  const auto failure = CheckSideBeforeSave(side, afms, ypovolhs, filerAfm);
  if (!failure) return;
  const std::size_t at = FirstLineFailingBeforeSave(afms, ypovolhs, filerAfm);
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
  CheckLines(Side::Customers, statement.customerLines, where.customers, header.afm, problems);
  CheckLines(Side::Suppliers, statement.supplierLines, where.suppliers, header.afm, problems);

  if (const auto failure =
          CheckFilerBeforeSave(header.year, currentYear, header.afm, header.installationType,
                               FindTaxOfficeByCode(header.officeCode) >= 0)) {
    problems.push_back({where.firstHeader, OneLine(failure->message)});
  }
  CheckSideBeforeSaving(Side::Customers, statement.customerLines, where.customers, header.afm,
                        problems);
  CheckSideBeforeSaving(Side::Suppliers, statement.supplierLines, where.suppliers, header.afm,
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
