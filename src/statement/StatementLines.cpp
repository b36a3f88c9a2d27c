#include "StatementLines.h"

#include <algorithm>
#include <stdexcept>

#include "BulkLineChecks.h"
#include "FileCopy.h"
#include "VelmoraError.h"
#include "PlainText.h"
#include "RecordLayout.h"

namespace velmora {

namespace {

constexpr const char* kNotStored =
    "Η αλλαγή δεν αποθηκεύτηκε, γιατί το αρχείο εργασίας δεν γράφτηκε: ";

// How often a long run of lines reports how far it has come.
constexpr std::size_t kProgressStep = 2048;

}  // namespace

const char* StatementLines::Field(LineField field) const { return LineFieldName(side_, field); }

StatementLines::StatementLines(Side side, RecordTable& table, std::string snapshotPath)
    : side_(side), table_(table), snapshotPath_(std::move(snapshotPath)) {}

LineVerdict StatementLines::CheckPendingLine(const std::string& filerTaxNumber, bool newLine) {
  // The filler goes first: it gives the line its full width, so that every field
  // reads as text from here on.
  table_.SetFieldText(Field(LineField::Filler),
                      std::string(LineSpan(LineField::Filler).width, ' '));
  table_.SetFieldText(Field(LineField::RecordType), std::string(1, LineRecordType(side_)));
  const std::string_view record = table_.RecordText();
  LineCheckInput input{side_,
                       std::string(LineFieldText(record, LineField::TaxNumber)),
                       std::string(LineFieldText(record, LineField::Obligation)),
                       std::string(LineFieldText(record, LineField::InvoiceCount)),
                       std::string(LineFieldText(record, LineField::Value)),
                       filerTaxNumber,
                       newLine};
  LineVerdict verdict = CheckLine(
      input, [this](const std::string& taxNumber) { return FirstStoredObligation(taxNumber); });
  if (verdict.accepted) table_.SetFieldText(Field(LineField::Value), verdict.normalisedValue);
  return verdict;
}

// The working file holds every stored line and nothing else, so the stored
// lines themselves answer what a fresh copy of the file would.
std::optional<std::string> StatementLines::FirstStoredObligation(
    const std::string& taxNumber) const {
  const std::string_view key = WithoutControls(taxNumber);
  for (const std::string& line : table_.Lines()) {
    if (WithoutControls(LineFieldText(line, LineField::TaxNumber)) == key)
      return std::string(LineFieldText(line, LineField::Obligation));
  }
  return std::nullopt;
}

AppendedLines StatementLines::AppendLines(std::vector<Cp1253Text> lines,
                                          const std::string& filerTaxNumber,
                                          const LineProgress& progress) {
  if (table_.State() != DataSetState::Browse) throw std::logic_error("a line is pending");
  const std::vector<LoneCheck> alone = StampAndCheckAlone(lines, side_, filerTaxNumber);
  // The working file is written meanwhile, on a thread of its own: the stored
  // lines, then each line as it is accepted.
  AcceptedLines accepted(table_.FileName(), table_.Lines(), lines.size());
  LineTotalsSum totals;
  AppendedLines result = JudgeInOrder(lines, alone, filerTaxNumber, accepted, totals, progress);
  if (result.cancelled) return result;
  result.stored = accepted.size();
  if (result.stored == 0) return result;
  StoreAccepted(accepted);
  result.totals = totals.Result();
  return result;
}

AppendedLines StatementLines::JudgeInOrder(std::vector<Cp1253Text>& lines,
                                           const std::vector<LoneCheck>& alone,
                                           const std::string& filerTaxNumber,
                                           AcceptedLines& accepted, LineTotalsSum& totals,
                                           const LineProgress& progress) const {
  AppendedLines result;
  // The first obligation of each tax number is looked up in an index of the
  // stored lines and of each line as it is accepted, not by a scan. The sums are
  // counted meanwhile, each line's while it is at hand: a pass of their own over
  // a large table took longer than the judging.
  TypedLineRun run(side_, filerTaxNumber, table_.Lines().size() + lines.size());
  const auto take = [&](const std::string& line) {
    run.AddStored(line);
    if (totals.AddInvoices(LineFieldText(line, LineField::InvoiceCount)))
      totals.AddValue(LineFieldText(line, LineField::Value));
  };
  for (const std::string& stored : table_.Lines()) take(stored);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i % kProgressStep == 0) {
      accepted.Publish();
      if (progress && !progress(i, lines.size())) {
        result.cancelled = true;
        return result;
      }
    }
    PrefetchAhead(lines, i, run);
    std::string line = std::move(lines[i].bytes());
    if (auto refusal = run.Refusal(line, alone[i].accepted)) {
      result.refusal = std::move(refusal);
      result.refusedRecord = std::move(line);
      break;
    }
    WriteLineField(line, LineField::Value, alone[i].NormalisedValue());
    line.resize(std::min(line.find('\0'), kRecordLength));
    take(accepted.Add(std::move(line)));
  }
  if (progress && !progress(lines.size(), lines.size())) {
    result.cancelled = true;
    result.refusal.reset();
    result.refusedRecord.clear();
  }
  return result;
}

void StatementLines::StoreAccepted(AcceptedLines& accepted) {
  // The file first: should it fail, the table still holds what the file holds.
  std::vector<std::string> added = accepted.Finish();
  // The stored lines and the new ones are moved into the reopened table, not copied.
  std::vector<std::string> all = table_.CloseTakingLines();
  all.reserve(all.size() + added.size());
  std::move(added.begin(), added.end(), std::back_inserter(all));
  const int count = static_cast<int>(all.size());
  table_.OpenWithLines(std::move(all));
  // The cursor stands on the last line stored, as after storing them one by one.
  table_.SetPosition(count);
  TakeSnapshot();
}

void StatementLines::BeginNewLine(const std::string& record) {
  table_.BeginAppend();
  // Every field with its columns as they are, blanks and all.
  for (const LineFieldLayout& field : kLineLayout)
    table_.SetFieldText(Field(field.field), std::string(field.span.In(record)));
}

void StatementLines::WriteLines() {
  try {
    table_.SaveAs(table_.FileName());
  } catch (const std::exception& error) {
    throw VelmoraError(std::string(kNotStored) + error.what());
  }
  // Nothing reads the snapshot back: a copy that fails costs no line.
  try {
    TakeSnapshot();
  } catch (const std::exception&) {
  }
}

void StatementLines::TakeSnapshot() {
  // The previous snapshot is let go in the background: the new one does not wait
  // for its space to be given back.
  oldSnapshot_.Remove(snapshotPath_, ".old");
  SnapshotFile(table_.FileName(), snapshotPath_);
}

TotalsResult StatementLines::Sum() const {
  LineTotalsSum sum;
  for (const std::string& line : table_.Lines()) {
    if (!sum.AddInvoices(LineFieldText(line, LineField::InvoiceCount)) ||
        !sum.AddValue(LineFieldText(line, LineField::Value)))
      break;
  }
  return sum.Result();
}

void StatementLines::Keys(std::vector<std::string>& taxNumbers,
                          std::vector<std::string>& obligations) const {
  taxNumbers.clear();
  obligations.clear();
  taxNumbers.reserve(table_.Lines().size());
  obligations.reserve(table_.Lines().size());
  for (const std::string& line : table_.Lines()) {
    taxNumbers.emplace_back(LineFieldText(line, LineField::TaxNumber));
    obligations.emplace_back(LineFieldText(line, LineField::Obligation));
  }
}

}  // namespace velmora
