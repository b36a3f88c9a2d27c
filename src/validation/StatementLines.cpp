#include "StatementLines.h"

#include "FileCopy.h"
#include "LineLayout.h"

namespace velmora {

namespace {

// Blanks and control characters around a key do not count when lines are looked up.
std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

StatementLines::StatementLines(Side side, TFixedFormatDataSet& table, std::string snapshotPath)
    : side_(side),
      table_(table),
      snapshotPath_(std::move(snapshotPath)),
      afmField_(side == Side::Customers ? CustomerSide().afmField : SupplierSide().afmField) {}

LineVerdict StatementLines::CheckPendingLine(const std::string& filerAfm, bool newLine) {
  // The filler goes first: it gives the line its full width, so that every field
  // reads as text from here on.
  table_.SetFieldText("FILLER", std::string(35, ' '));
  table_.SetFieldText("RecordType", side_ == Side::Customers ? "2" : "4");
  LineCheckInput input{side_,
                       table_.FieldText(afmField_),
                       table_.FieldText("Ypovolh"),
                       table_.FieldText("NoTimologion"),
                       table_.FieldText("Value"),
                       filerAfm,
                       newLine};
  LineVerdict verdict =
      CheckLine(input, [this](const std::string& afm) { return FirstStoredYpovolh(afm); });
  if (verdict.accepted) table_.SetFieldText("Value", verdict.normalisedValue);
  return verdict;
}

// The working file holds every stored line and nothing else, so the stored
// lines themselves answer what a fresh copy of the file would.
std::optional<std::string> StatementLines::FirstStoredYpovolh(const std::string& afm) const {
  const int afmIndex = table_.FieldIndex(afmField_);
  const int ypovolhIndex = table_.FieldIndex("Ypovolh");
  const std::string_view key = TrimControls(afm);
  for (int i = 0; i < table_.RecordCount(); ++i) {
    const std::string stored = table_.FieldTextAt(i, afmIndex);
    if (TrimControls(stored) == key) return table_.FieldTextAt(i, ypovolhIndex);
  }
  return std::nullopt;
}

TotalsResult StatementLines::AfterLinesChanged() {
  table_.SaveAs(table_.FileName());
  TakeSnapshot();
  return Sum();
}

void StatementLines::TakeSnapshot() {
  // The previous snapshot is let go in the background: the new one does not wait
  // for its space to be given back.
  oldSnapshot_.Remove(snapshotPath_, ".old");
  SnapshotFile(table_.FileName(), snapshotPath_);
}

TotalsResult StatementLines::Sum() const {
  const int invoices = table_.FieldIndex("NoTimologion");
  const int value = table_.FieldIndex("Value");
  return SumLines(
      static_cast<size_t>(table_.RecordCount()),
      [&](size_t i) { return table_.FieldTextAt(static_cast<int>(i), invoices); },
      [&](size_t i) { return table_.FieldTextAt(static_cast<int>(i), value); });
}

void StatementLines::Keys(std::vector<std::string>& afms,
                          std::vector<std::string>& ypovolhs) const {
  const int afmIndex = table_.FieldIndex(afmField_);
  const int ypovolhIndex = table_.FieldIndex("Ypovolh");
  afms.clear();
  ypovolhs.clear();
  afms.reserve(static_cast<size_t>(table_.RecordCount()));
  ypovolhs.reserve(static_cast<size_t>(table_.RecordCount()));
  for (int i = 0; i < table_.RecordCount(); ++i) {
    afms.push_back(table_.FieldTextAt(i, afmIndex));
    ypovolhs.push_back(table_.FieldTextAt(i, ypovolhIndex));
  }
}

}  // namespace velmora
