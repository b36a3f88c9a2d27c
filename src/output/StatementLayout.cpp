#include "StatementLayout.h"

#include <charconv>
#include <string_view>

#include "Cp1253.h"
#include "RecordLayout.h"

namespace velmora {

namespace {

// The fixed texts are written here in UTF-8; each has a byte for every character.
std::string Cp1253(std::string_view utf8) { return Utf8ToCp1253(utf8).value(); }

LayoutCell Label(std::string_view utf8, int column, int span = 1) {
  return LayoutCell{Cp1253(utf8), column, span, false, false};
}

LayoutCell Value(std::string text, int column, int span = 1) {
  return LayoutCell{std::move(text), column, span, false, false};
}

LayoutCell Blank(int column, int span = 1) { return LayoutCell{{}, column, span, false, false}; }

LayoutCell Heading(std::string_view utf8) { return LayoutCell{Cp1253(utf8), 0, 1, true, true}; }

LayoutTable IdentificationTable(const PageFiler& filer) {
  LayoutTable table;
  table.columnShares = {0.11, 0.2, 0.06, 0.07, 0.07, 0.16, 0.1, 0.23};
  table.rows.push_back({
      Label("Προς Δ.Ο.Υ.:", 0),
      Value(filer.taxOfficeName.bytes(), 1),
      Value(filer.taxOfficeCode.bytes(), 2),
      Label("Έτος:", 3),
      Value(filer.year.bytes(), 4),
      Label("Αριθ. Κατάστασης:", 5),
      Blank(6),
      Label("* Συμπληρώνεται από την Υπηρεσία", 7),
  });
  table.rows.push_back({
      Blank(0),
      Blank(1),
      Blank(2),
      Blank(3),
      Blank(4),
      Label("Αριθ. Φακέλου:", 5),
      Value(filer.fileNumber.bytes(), 6),
      Label("(για τις Α.Ε.)", 7),
  });
  return table;
}

LayoutTable FilerTable(const PageFiler& filer) {
  LayoutTable table;
  table.columnShares = {0.2, 0.2, 0.12, 0.22, 0.1, 0.16};
  // The heading follows a line break of its own.
  table.rows.push_back({LayoutCell{"\n" + Cp1253("ΣΤΟΙΧΕΙΑ ΥΠΟΧΡΕΟΥ"), 0, 6, true, true}});
  table.rows.push_back({
      Label("Ονοματεπώνυμο ή Επωνυμία:", 0),
      Value(filer.companyName.bytes(), 1, 3),
      Label("ΑΦΜ:", 4),
      Value(filer.taxNumber.bytes(), 5),
  });
  table.rows.push_back({Label("Πατρώνυμο:", 0), Blank(1, 5)});
  // Empty parts of the address keep their separators.
  table.rows.push_back({
      Label("Επάγγελμα:", 0),
      Value(filer.profession.bytes(), 1),
      Label("Διεύθυνση:", 2),
      Value(filer.town.bytes() + ", " + filer.street.bytes() + " " + filer.streetNumber.bytes() +
                ", " + filer.postCode.bytes(),
            3),
      Label("Τηλ:", 4),
      Value(filer.telephone.bytes(), 5),
  });
  table.rows.push_back({
      Blank(0),
      Blank(1),
      Blank(2),
      Label("(πόλη, οδός, αριθμός, Τ.Κ.)", 3),
      Blank(4),
      Blank(5),
  });
  table.rows.push_back({Blank(0, 6)});
  return table;
}

LayoutRow AmountRow(std::string_view label, std::string amount) {
  return {Blank(0), Blank(1), Label(label, 2, 3), Blank(5), Value(std::move(amount), 6)};
}

}  // namespace

StatementLayout::StatementLayout(const StatementPageInput& input)
    : lines_(input.lines), pageHead_("DALMERIN - QUORVANE") {
  const bool customers = input.side == Side::Customers;
  headings_.push_back(Cp1253(StatementTitle(input.side)));
  if (input.creditBalances) headings_.push_back(Cp1253("ΠΙΣΤΩΤΙΚΑ ΥΠΟΛΟΙΠΑ"));
  openingTables_.push_back(IdentificationTable(input.filer));
  openingTables_.push_back(FilerTable(input.filer));

  headingRow_ = {
      Heading("α/α"),
      Heading("ΑΦΜ"),
      Heading("Ονοματεπώνυμο ή Επωνυμία συναλλασομένου"),
      Heading("Κωδικός \"1\" \n Επάγγελμα \nγια μη υπόχρεους"),
      Heading("Διεύθυνση"),
      Heading("Αριθμός Φορολ. Στοιχείων"),
      Heading("Καθαρή αξία"),
  };
  for (int column = 0; column < kLineColumns; ++column) headingRow_[column].column = column;

  const StatementAmountTexts amounts = ComposeAmountTexts(input);
  closingRows_.push_back({Blank(0, kLineColumns)});
  if (customers) closingRows_.push_back(AmountRow("Αξία Λιανικών Πωλήσεων", amounts.retailSales));
  closingRows_.push_back(
      AmountRow("Αξία συναλλαγών χωρίς υποχρέωση υποβολής στοιχείων στις αναλυτικές γραμμές",
                amounts.withoutItemisation));
  closingRows_.push_back({Blank(0), Blank(1), Label("ΣΥΝΟΛΟ", 2, 3),
                          Value(input.invoiceTotal.bytes(), 5), Value(amounts.grandTotal, 6)});
}

const std::array<double, StatementLayout::kLineColumns>& StatementLayout::LineColumnShares() {
  // Room for six digits, nine digits, the name, the code, the address, the count
  // and the value.
  static const std::array<double, kLineColumns> shares = {0.06, 0.11, 0.26, 0.13, 0.24, 0.1, 0.1};
  return shares;
}

void StatementLayout::FillLinePieces(std::size_t index, LinePieces& pieces,
                                     std::array<char, 24>& digits) const {
  const std::string_view line = lines_[index];
  // Numbered afresh on every print, as the page file is.
  const auto converted = std::to_chars(digits.data(), digits.data() + digits.size(), index + 1);
  pieces[0] = {
      std::string_view(digits.data(), static_cast<std::size_t>(converted.ptr - digits.data()))};
  pieces[1] = {LineFieldText(line, LineField::TaxNumber)};
  pieces[2] = {LineFieldText(line, LineField::Name)};
  pieces[3] = {LineFieldText(line, LineField::Obligation)};
  // The address of a line leaves the postcode out.
  pieces[4] = {LineFieldText(line, LineField::Town), ", ", LineFieldText(line, LineField::Street),
               " ", LineFieldText(line, LineField::StreetNumber)};
  pieces[5] = {LineFieldText(line, LineField::InvoiceCount)};
  pieces[6] = {LineFieldText(line, LineField::Value)};
}

void StatementLayout::FillLineCells(std::size_t index, LineCells& cells) const {
  LinePieces pieces;
  std::array<char, 24> digits;
  FillLinePieces(index, pieces, digits);
  for (int column = 0; column < kLineColumns; ++column) {
    std::string& cell = cells[static_cast<std::size_t>(column)];
    cell.clear();
    for (const std::string_view piece : pieces[static_cast<std::size_t>(column)]) cell += piece;
  }
}

}  // namespace velmora
