#include "StatementLines.h"

#include "FileCopy.h"
#include "VelmoraError.h"
#include "PlainText.h"
#include "RecordLayout.h"

namespace velmora {

namespace {

constexpr const char* kNotStored =
    "Η αλλαγή δεν αποθηκεύτηκε, γιατί το αρχείο εργασίας δεν γράφτηκε: ";

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
  table_.SetFieldText(Field(LineField::Filler), std::string(LineSpan(LineField::Filler).width, ' '));
  table_.SetFieldText(Field(LineField::RecordType), std::string(1, LineRecordType(side_)));
  LineCheckInput input{side_,
                       table_.FieldText(taxNumberField_),
                       table_.FieldText(Field(LineField::Obligation)),
                       table_.FieldText(Field(LineField::InvoiceCount)),
                       table_.FieldText(Field(LineField::Value)),
                       filerTaxNumber,
                       newLine};
  LineVerdict verdict =
      CheckLine(input, [this](const std::string& taxNumber) {
        return FirstStoredObligation(taxNumber);
      });
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
  const int invoices = table_.FieldIndex(Field(LineField::InvoiceCount));
  const int value = table_.FieldIndex(Field(LineField::Value));
  return SumLines(
      static_cast<size_t>(table_.RecordCount()),
      [&](size_t i) { return table_.FieldTextAt(static_cast<int>(i), invoices); },
      [&](size_t i) { return table_.FieldTextAt(static_cast<int>(i), value); });
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
