#include "LineChecks.h"

#include <utility>

#include "Amount.h"
#include "Cp1253.h"
#include "TaxNumber.h"
#include "WholeNumber.h"

namespace velmora {

namespace {

// The first letter is a Latin capital O.
constexpr const char* kFilerOwnNumber = "O ΑΦΜ που εισάγατε είναι ίδιος με τον ΑΦΜ υπόχρεου.";
// Here the first letter is the Greek capital Omicron.
constexpr const char* kDuplicatePrefix = "Ο ΑΦΜ: ";
constexpr const char* kMandatoryFields =
    "Πρέπει να συμπληρώσετε τα πεδία ΑΦΜ, Υπόχρεος, Αριθ. τιμολογίων, Αξία";
constexpr const char* kZeroValueNeedsTwoInvoices =
    "Εφόσον η αξία είναι 0, ο αριθμός τιμολογίων πρέπει να είναι >1 ";
constexpr const char* kCustomerNeedsInvoice = "Ο αριθμός τιμολογίων πρέπει να είναι >0 ";

const char* WrongTaxNumberMessage(Side side) {
  return side == Side::Customers ? "Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή πελάτη"
                                 : "Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή προμηθευτή";
}

LineVerdict Refuse(std::string message, LineField field = LineField::TaxNumber) {
  return {false, std::move(message), {}, field};
}

// The first of the mandatory fields that is empty.
LineField FirstMissing(const LineCheckInput& in) {
  if (in.taxNumber.empty()) return LineField::TaxNumber;
  if (in.obligation.empty()) return LineField::Obligation;
  if (in.invoiceCount.empty()) return LineField::InvoiceCount;
  return LineField::Value;
}

}  // namespace

std::string ValueNotANumberMessage(std::string_view text) {
  return "Η τιμή '" + Cp1253ToUtf8(text) +
         "' δεν είναι έγκυρος αριθμός (η υποδιαστολή είναι το κόμμα)";
}

std::string InvoiceCountNotANumberMessage(std::string_view text) {
  return "Ο αριθμός τιμολογίων '" + Cp1253ToUtf8(text) + "' δεν είναι έγκυρος ακέραιος αριθμός";
}

LineVerdict CheckLineAlone(const LineCheckInput& in) {
  // An empty number is a missing one (below), even while the filer's is empty too.
  if (!in.taxNumber.empty() && in.taxNumber == in.filerTaxNumber) return Refuse(kFilerOwnNumber);

  if (in.taxNumber.empty() || in.obligation.empty() || in.invoiceCount.empty() ||
      in.value.empty()) {
    return Refuse(kMandatoryFields, FirstMissing(in));
  }

  // A counter-party without the obligation may carry a foreign or partial number.
  if (in.obligation == "0" && !IsValidTaxNumber(in.taxNumber))
    return Refuse(WrongTaxNumberMessage(in.side));

  const auto value = Amount::Parse(in.value);
  if (!value) return Refuse(ValueNotANumberMessage(in.value), LineField::Value);
  const auto invoices = ParseWholeNumber(in.invoiceCount);
  // Suppliers need the count as a number only for a zero value, but a count that
  // does not convert would break the totals and the submission file later.
  if (!invoices)
    return Refuse(InvoiceCountNotANumberMessage(in.invoiceCount), LineField::InvoiceCount);

  if (value->Cents() == 0 && *invoices < 2)
    return Refuse(kZeroValueNeedsTwoInvoices, LineField::InvoiceCount);
  if (in.side == Side::Customers && *invoices < 1)
    return Refuse(kCustomerNeedsInvoice, LineField::InvoiceCount);

  return {true, {}, value->FormatShort()};
}

std::optional<LineVerdict> RefuseAsDuplicate(const LineCheckInput& in,
                                             const FirstStoredObligation& findFirst) {
  // The filer's own number is refused first, before any stored line is looked at.
  if (!in.newLine || (!in.taxNumber.empty() && in.taxNumber == in.filerTaxNumber))
    return std::nullopt;
  // Only the first stored line with this number is compared; the save checks
  // compare every pair.
  const auto stored = findFirst(in.taxNumber);
  if (!stored || *stored != in.obligation) return std::nullopt;
  return Refuse(kDuplicatePrefix + Cp1253ToUtf8(in.taxNumber) + DuplicateMiddleText(in.side) +
                Cp1253ToUtf8(*stored) + ")");
}

LineVerdict CheckLine(const LineCheckInput& in, const FirstStoredObligation& findFirst) {
  if (auto duplicate = RefuseAsDuplicate(in, findFirst)) return std::move(*duplicate);
  return CheckLineAlone(in);
}

}  // namespace velmora
