#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Cp1253.h"
#include "Failure.h"
#include "HeaderLine.h"
#include "Side.h"

namespace velmora {

// The filer's details as the panel shows them, Windows-1253. The page prints the
// tax office by name and by code, and none of the fax, e-mail or installation type.
struct PageFiler {
  Cp1253Text taxOfficeName, taxOfficeCode, year, fileNumber, companyName, taxNumber, profession,
      town, street, streetNumber, postCode, telephone;
};

// The page's filer from the header fields and the name of the chosen office.
PageFiler PageFilerFromHeader(const HeaderFields& header, Cp1253Text taxOfficeName);

// Everything one printed statement is made from, gathered from the window.
struct StatementPageInput {
  Side side = Side::Customers;
  bool creditBalances = false;  // "Πιστωτικά Υπόλοιπα" chosen
  PageFiler filer;
  // The side's working lines in stored order, seen where they are held.
  std::span<const std::string> lines;
  // The boxes under the side's grid, as they show. Retail sales belong to
  // customers only and are ignored for suppliers.
  Cp1253Text retailSales, withoutItemisation, invoiceTotal, valueTotal;
};

// The whole page, Windows-1253, from the template StatementPage.html: every line
// ended by CR LF, each placeholder's text written with <, >, & and " as character
// references; amount texts that do not read as numbers count as 0.
Cp1253Text ComposeStatementPage(const StatementPageInput& input);

// The amount and total rows' figures in the page's "0.##" form; retail sales are
// empty for suppliers, whose page has no such row.
struct StatementAmountTexts {
  std::string retailSales, withoutItemisation, grandTotal;
};
StatementAmountTexts ComposeAmountTexts(const StatementPageInput& input);

// "Pelates.htm" or "Promitheftes.htm".
std::string StatementPageFileName(Side side);
// "Pelates.pdf" or "Promitheftes.pdf": the name offered when the page is printed to a file.
std::string StatementPdfFileName(Side side);

// The page's title and the printed statement's heading (UTF-8).
std::string_view StatementTitle(Side side);

// Told when the page could not be made, with the system's reason on a second line.
inline constexpr const char* kPrintPreparationFailed =
    "Υπήρξε κάποιο πρόβλημα κατά την προετοιμασία της εκτύπωσης";

// Replaces the file at path with the page; on failure, told as a warning with the
// system's reason, the earlier file stays as it was.
std::optional<Failure> WriteStatementPage(const std::string& path, const Cp1253Text& page);

}  // namespace velmora
