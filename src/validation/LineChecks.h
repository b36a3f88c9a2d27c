#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "RecordLayout.h"
#include "Side.h"

namespace velmora {

// The part of the duplicate message that names the list, up to the opening bracket
// before the obligation code.
constexpr const char* DuplicateMiddleText(Side side) {
  return side == Side::Customers
             ? " έχει εισαχθεί 2 φορές στους πελάτες με τον ίδιο κωδικό υπόχρεου ("
             : " έχει εισαχθεί 2 φορές στους προμηθευτές με τον ίδιο κωδικό υπόχρεου (";
}

// The pending line as the table gives it, after the record type and filler were stamped.
struct LineCheckInput {
  Side side;
  // Field texts without trailing blanks, Windows-1253.
  std::string taxNumber, obligation, invoiceCount, value;
  // The filer's tax number box, as typed.
  std::string filerTaxNumber;
  // The line was begun new (insert or append) rather than put into editing.
  bool newLine;
};

// The obligation code (trailing blanks removed) of the first stored line, in file
// order, whose tax number equals taxNumber; nullopt when no stored line has it.
using FirstStoredObligation =
    std::function<std::optional<std::string>(const std::string& taxNumber)>;

struct LineVerdict {
  bool accepted;
  // UTF-8; empty when accepted. Every refusal is announced with a beep.
  std::string message;
  // Windows-1253, the value in the "0.##" form to store; set when accepted.
  std::string normalisedValue;
  // The field a refusal is about, where the person goes to mend it.
  LineField field = LineField::TaxNumber;
};

// Decides whether a line may be stored: the filer's own number, a duplicate of the
// first stored line with the same number (new lines only; findFirst is not called
// otherwise), the mandatory fields, the check digit of obliged counter-parties, the
// invoice count against the value, then the normalised value. The first refusal wins.
// A value or invoice count that does not convert is refused too, so that a command
// committing the line stops instead of going on with the line unstored.
LineVerdict CheckLine(const LineCheckInput& in, const FirstStoredObligation& findFirst);

// CheckLine in two parts, for lines checked in bulk: every check of the line on its
// own, which needs no stored line and can be made for many lines at once, and the
// refusal as a duplicate of a stored line, which comes before all of them but the
// filer's own number. For any input, CheckLine(in, findFirst) is
// RefuseAsDuplicate(in, findFirst) when that refuses, else CheckLineAlone(in).
LineVerdict CheckLineAlone(const LineCheckInput& in);
std::optional<LineVerdict> RefuseAsDuplicate(const LineCheckInput& in,
                                             const FirstStoredObligation& findFirst);

// Refusals for texts that are not numbers; the text is Windows-1253, the message UTF-8.
std::string ValueNotANumberMessage(std::string_view text);
std::string InvoiceCountNotANumberMessage(std::string_view text);

}  // namespace velmora
