#include "SheetRowRules.h"

#include <cstdint>
#include <limits>

#include "Amount.h"
#include "TaxNumber.h"
#include "WholeNumber.h"

namespace velmora {

namespace {

constexpr std::string_view kRowLead = "Λάθος στη γραμμή ";
// What follows the row number in the row messages.
constexpr std::string_view kObligationNotZeroOrOne =
    " του αρχείου: Η στήλη Υπόχρεος (Νο 4) πρέπει να έχει τιμή 0 ή 1. Διορθώστε το για να "
    "προχωρήσετε στην εισαγωγή.";
constexpr std::string_view kInvoiceCountNotWhole =
    " του αρχείου: Η στήλη Αριθμός Τιμολογίων (Νο 9) πρέπει να έχει ακέραια τιμή. Διορθώστε το για "
    "να προχωρήσετε στην εισαγωγή.";
constexpr std::string_view kValueNotANumber =
    " του αρχείου: Η στήλη Αξία (Νο 10) πρέπει να είναι αριθμός (η υποδιαστολή είναι το κόμμα). "
    "Διορθώστε το για να προχωρήσετε στην εισαγωγή.";
constexpr std::string_view kTaxNumberInvalid =
    " του αρχείου: H στήλη ΑΦΜ (Νο 1) δεν περιέχει αποδεκτό ΑΦΜ. Διορθώστε το για να προχωρήσετε "
    "στην εισαγωγή.";
constexpr std::string_view kTaxNumberIsFilers =
    " του αρχείου: Το ΑΦΜ (στήλη Νο 1) είναι ίδιο με το ΑΦΜ του Υπόχρεου. Διορθώστε το για να "
    "προχωρήσετε στην εισαγωγή.";
constexpr std::string_view kRowTail = " Διορθώστε το για να προχωρήσετε στην εισαγωγή.";

// The columns as the row messages name them.
constexpr std::array<std::string_view, 10> kColumnNames = {
    "ΑΦΜ",  "Επωνυμία", "Επάγγελμα", "Υπόχρεος",           "Πόλη",
    "Οδός", "Αριθμός",  "ΤΚ",        "Αριθμός Τιμολογίων", "Αξία"};

}  // namespace

std::string SheetRowMessage(int row, std::string_view rest) {
  std::string message(kRowLead);
  message += std::to_string(row);
  message += rest;
  return message;
}

std::string SheetCellMessage(int row, int column, std::string_view what) {
  std::string message = SheetRowMessage(row, " του αρχείου: Η στήλη ");
  message += kColumnNames[static_cast<std::size_t>(column)];
  message += " (Νο ";
  message += std::to_string(column + 1);
  message += ") ";
  message += what;
  message += '.';
  message += kRowTail;
  return message;
}

bool IsSheetWholeNumber(std::string_view text) {
  const auto value = ParseWholeNumber(text);
  return value && *value >= std::numeric_limits<std::int32_t>::min() &&
         *value <= std::numeric_limits<std::int32_t>::max();
}

bool IsSheetDecimalNumber(std::string_view text) { return Amount::IsSpreadsheetNumber(text); }

std::optional<std::string> CheckSheetRow(const std::array<std::string_view, 10>& texts,
                                         int rowNumber, std::string_view filerTaxNumberUtf8) {
  const std::string_view obligation = texts[kSheetObligationColumn];
  if (obligation != "0" && obligation != "1") {
    return SheetRowMessage(rowNumber, kObligationNotZeroOrOne);
  }
  if (!IsSheetWholeNumber(texts[kSheetInvoiceCountColumn])) {
    return SheetRowMessage(rowNumber, kInvoiceCountNotWhole);
  }
  if (!IsSheetDecimalNumber(texts[kSheetValueColumn]))
    return SheetRowMessage(rowNumber, kValueNotANumber);
  if (obligation == "0" && !IsValidTaxNumber(texts[0]))
    return SheetRowMessage(rowNumber, kTaxNumberInvalid);
  // An empty number is no one's, even while the filer's box is empty too.
  if (!texts[0].empty() && texts[0] == filerTaxNumberUtf8)
    return SheetRowMessage(rowNumber, kTaxNumberIsFilers);
  return std::nullopt;
}

}  // namespace velmora
