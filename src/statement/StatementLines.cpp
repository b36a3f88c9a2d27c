#include "StatementLines.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

#include "AtomicFile.h"
#include "BulkLineChecks.h"
#include "FileCopy.h"
#include "VelmoraError.h"
#include "PlainText.h"
#include "RecordLayout.h"
#include "TwoHalves.h"

namespace velmora {

namespace {

constexpr const char* kNotStored =
    "Η αλλαγή δεν αποθηκεύτηκε, γιατί το αρχείο εργασίας δεν γράφτηκε: ";

// How often a long run of lines reports how far it has come.
constexpr std::size_t kProgressStep = 2048;

}  // namespace

const char* StatementLines::Field(LineField field) const { return LineFieldName(side_, field); }

StatementLines::StatementLines(Side side, RecordTable& table, std::string snapshotPath)
    : side_(side),
      table_(table),
      snapshotPath_(std::move(snapshotPath)),
      taxNumberField_(LineFieldName(side, LineField::TaxNumber)) {}

LineVerdict StatementLines::CheckPendingLine(const std::string& filerTaxNumber, bool newLine) {
  // The filler goes first: it gives the line its full width, so that every field
  // reads as text from here on.
  table_.SetFieldText(Field(LineField::Filler),
                      std::string(LineSpan(LineField::Filler).width, ' '));
  table_.SetFieldText(Field(LineField::RecordType), std::string(1, LineRecordType(side_)));
  LineCheckInput input{side_,
                       table_.FieldText(taxNumberField_),
                       table_.FieldText(Field(LineField::Obligation)),
                       table_.FieldText(Field(LineField::InvoiceCount)),
                       table_.FieldText(Field(LineField::Value)),
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
  const int taxNumberIndex = table_.FieldIndex(taxNumberField_);
  const int obligationIndex = table_.FieldIndex(Field(LineField::Obligation));
  const std::string_view key = WithoutControls(taxNumber);
  for (int i = 0; i < table_.RecordCount(); ++i) {
    const std::string stored = table_.FieldTextAt(i, taxNumberIndex);
    if (WithoutControls(stored) == key) return table_.FieldTextAt(i, obligationIndex);
  }
  return std::nullopt;
}

AppendedLines StatementLines::AppendLines(std::vector<Cp1253Text> lines,
                                          const std::string& filerTaxNumber,
                                          const LineProgress& progress) {
  if (table_.State() != DataSetState::Browse) throw std::logic_error("a line is pending");
  const bool trim = table_.TrimSpace();
  const auto field = [this](LineField which) -> const FieldDef& {
    return table_.Field(table_.FieldIndex(Field(which)));
  };
  const FieldDef& taxNumber = field(LineField::TaxNumber);
  const FieldDef& obligation = field(LineField::Obligation);
  const FieldDef& invoiceCount = field(LineField::InvoiceCount);
  const FieldDef& value = field(LineField::Value);
  const FieldDef& filler = field(LineField::Filler);
  const FieldDef& recordType = field(LineField::RecordType);
  const std::string blankFiller(static_cast<std::size_t>(filler.width), ' ');
  const std::string type(1, LineRecordType(side_));

  // The obligation of the first line with each tax number, the stored lines first
  // and then each line as it is accepted: what the lookup in the working file
  // would find, one store after another.
  FirstObligationIndex firstObligation(static_cast<std::size_t>(table_.RecordCount()) +
                                       lines.size());
  const auto remember = [&](std::string_view record) {
    firstObligation.Remember(WithoutControls(ReadField(record, taxNumber, trim)),
                             ReadField(record, obligation, trim));
  };
  // The sums of the lines as the table will hold them, counted while each line is
  // at hand: the stored ones first, then each line as it is accepted.
  LineTotalsSum totals;
  const int invoicesIndex = table_.FieldIndex(Field(LineField::InvoiceCount));
  const int valueIndex = table_.FieldIndex(Field(LineField::Value));
  const auto addToTotals = [&](const std::string& line) {
    if (totals.AddInvoices(table_.FieldViewOfLine(line, invoicesIndex)))
      totals.AddValue(table_.FieldViewOfLine(line, valueIndex));
  };
  for (const std::string& stored : table_.Lines()) {
    remember(std::string_view(stored).substr(0, static_cast<std::size_t>(table_.RecordSize())));
    addToTotals(stored);
  }
  const velmora::FirstStoredObligation findFirst = [&](const std::string& number) {
    return firstObligation.Find(WithoutControls(number));
  };

  // Each line as the grid's fields would leave it, stamped as a store stamps it
  // (the given line's own bytes become the record), with its checks on its own.
  const auto recordSize = static_cast<std::size_t>(table_.RecordSize());
  const LineRecordFields fields{taxNumber, obligation, invoiceCount, value, trim};
  const auto readInput = [&](std::string_view record, LineCheckInput& input) {
    fields.Read(record, input);
  };
  const std::vector<LoneCheck> alone = StampAndCheckAlone(lines, fields, side_, filerTaxNumber,
                                                          recordSize, [&](std::string& record) {
                                                            WriteField(record, filler, blankFiller);
                                                            WriteField(record, recordType, type);
                                                          });

  // Then, in order, the check against the lines before each one.
  AppendedLines result;
  std::vector<std::string> accepted;
  accepted.reserve(lines.size());
  // The working file is written meanwhile, on a thread of its own: the stored
  // lines, then each line as it is accepted.
  LinesFileWriter file(table_.FileName(), table_.Lines(), accepted, /*durable=*/false);
  LineCheckInput input{side_, {}, {}, {}, {}, filerTaxNumber, true};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i % kProgressStep == 0) {
      file.Publish(accepted.size());
      if (progress && !progress(i, lines.size())) {
        result.cancelled = true;
        return result;
      }
    }
    // The lines ahead are asked for from memory, and then their numbers' slots.
    constexpr std::size_t kAhead = 8;
    if (i + 2 * kAhead < lines.size()) {
      const std::string& far = lines[i + 2 * kAhead].bytes();
      for (std::size_t at = 0; at < far.size(); at += 64) __builtin_prefetch(far.data() + at);
    }
    if (i + kAhead < lines.size()) {
      const std::string_view coming = lines[i + kAhead].view();
      firstObligation.Prefetch(WithoutControls(ReadField(coming, taxNumber, trim)));
    }
    std::string record = std::move(lines[i].bytes());
    input.taxNumber.assign(ReadField(record, taxNumber, trim));
    input.obligation.assign(ReadField(record, obligation, trim));
    auto refusal = RefuseAsDuplicate(input, findFirst);
    if (!refusal && !alone[i].accepted) {
      readInput(record, input);
      refusal = CheckLineAlone(input);
    }
    if (refusal) {
      result.refusal = std::move(refusal);
      result.refusedRecord = std::move(record);
      break;
    }
    WriteField(record, value, alone[i].NormalisedValue());
    record.resize(std::min(record.find('\0'), recordSize));
    // Reserved for every line: the views into the stored lines stay valid.
    accepted.push_back(std::move(record));
    remember(accepted.back());
    addToTotals(accepted.back());
  }
  if (progress && !progress(lines.size(), lines.size())) {
    result.cancelled = true;
    result.refusal.reset();
    result.refusedRecord.clear();
    return result;
  }
  result.stored = accepted.size();
  if (accepted.empty()) return result;

  // The file first: should it fail, the table still holds what the file holds.
  file.Finish(accepted.size());
  // The stored lines and the new ones are moved into the reopened table, not copied.
  std::vector<std::string> all = table_.CloseTakingLines();
  all.reserve(all.size() + accepted.size());
  std::move(accepted.begin(), accepted.end(), std::back_inserter(all));
  const int count = static_cast<int>(all.size());
  table_.OpenWithLines(std::move(all));
  // The cursor stands on the last line stored, as after storing them one by one.
  table_.SetPosition(count);
  TakeSnapshot();
  result.totals = totals.Result();
  return result;
}

void StatementLines::BeginNewLine(const std::string& record) {
  table_.BeginAppend();
  for (int i = 0; i < table_.FieldCount(); ++i) {
    const FieldDef& field = table_.Field(i);
    table_.SetFieldText(field.name, std::string(ReadField(record, field, false)));
  }
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
  const int invoices = table_.FieldIndex(Field(LineField::InvoiceCount));
  const int value = table_.FieldIndex(Field(LineField::Value));
  for (int i = 0; i < table_.RecordCount(); ++i) {
    if (!sum.AddInvoices(table_.FieldViewAt(i, invoices)) ||
        !sum.AddValue(table_.FieldViewAt(i, value)))
      break;
  }
  return sum.Result();
}

void StatementLines::Keys(std::vector<std::string>& taxNumbers,
                          std::vector<std::string>& obligations) const {
  const int taxNumberIndex = table_.FieldIndex(taxNumberField_);
  const int obligationIndex = table_.FieldIndex(Field(LineField::Obligation));
  taxNumbers.clear();
  obligations.clear();
  taxNumbers.reserve(static_cast<size_t>(table_.RecordCount()));
  obligations.reserve(static_cast<size_t>(table_.RecordCount()));
  for (int i = 0; i < table_.RecordCount(); ++i) {
    taxNumbers.push_back(table_.FieldTextAt(i, taxNumberIndex));
    obligations.push_back(table_.FieldTextAt(i, obligationIndex));
  }
}

}  // namespace velmora
