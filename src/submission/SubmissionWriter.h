#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "Failure.h"
#include "HeaderLine.h"

namespace velmora {

// What the submission file is made from, gathered from the window.
struct SubmissionStatement {
  bool creditBalances = false;  // "Πιστωτικά Υπόλοιπα"
  std::string date;             // "YYYYMMDD"
  HeaderFields header;          // the installation type as typed; written right-aligned
  // Lines in the working layout, in stored order; a short line has empty fields at its end.
  // Seen where they are held (the line tables), not copied.
  std::span<const std::string> customerLines, supplierLines;
  // The amount boxes: retail sales and the suppliers' amount already normalised, the
  // customers' amount without itemisation as typed.
  std::string retailSales, customersWithoutItemisation, suppliersWithoutItemisation;
  // The totals boxes under the grids: invoice sums and value sums ("0.00").
  std::string customerInvoiceTotal, customerValueTotal, supplierInvoiceTotal, supplierValueTotal;
};

// The whole file: records of 150 characters, each followed by CR LF. Every record is
// checked before the file is returned, so a statement that cannot be written whole
// gives its first problem in file order and no bytes at all.
std::variant<std::string, Failure> ComposeSubmissionFile(const SubmissionStatement& statement);

// The single records, 150 characters without a line end.

// The date is expected as eight digits.
std::string OpeningRecord(bool creditBalances, std::string_view date);
std::variant<std::string, Failure> HeaderRecord(const HeaderFields& header);
// type '2' for a customer line, '4' for a supplier line; sequence is the 1-based
// position of the line in its list.
std::variant<std::string, Failure> LineRecord(char type, int sequence,
                                              std::string_view workingLine);
// Amount texts that are not numbers count as 0; a value total that is not a number
// leaves the grand total without it.
std::variant<std::string, Failure> CustomerAmountsRecord(std::string_view retailSales,
                                                         std::string_view withoutItemisation,
                                                         std::string_view invoiceTotal,
                                                         std::string_view valueTotal);
std::variant<std::string, Failure> SupplierAmountsRecord(std::string_view withoutItemisation,
                                                         std::string_view invoiceTotal,
                                                         std::string_view valueTotal);

// The message after a complete write: eight lines joined by CR LF.
std::string SuccessMessage();

// The question before an existing file is replaced; the name without its folder.
// With readOnly, a note before it says that the file has no write permission (the
// new file keeps the old one's permissions).
std::string OverwriteQuestion(std::string_view bareFileName, bool readOnly = false);
// Whether the file at path exists and nobody may write to it (its mode has no
// write bit), whoever runs the program.
bool IsReadOnlyFile(const std::string& path);

}  // namespace velmora
