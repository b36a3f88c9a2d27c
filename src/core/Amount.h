#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// An amount of money held exactly as a whole number of cents. The comma is the
// only decimal mark, in parsing and in formatting.
class Amount {
 public:
  Amount() = default;

  // Optional sign, digits, optional comma and decimals, surrounding blanks
  // allowed; a lone comma is 0. Decimals beyond the second are rounded half away
  // from zero. nullopt on anything else and on overflow.
  static std::optional<Amount> Parse(std::string_view text);
  // The whole number of cents of the submission file: decimal digits only.
  static std::optional<Amount> ParseCents(std::string_view digits);
  static Amount FromCents(int64_t cents) { return Amount(cents); }
  // A number as a spreadsheet writes it: an optional sign, digits with at most
  // one comma, an optional exponent ("1,5E3", "1E-5"), no thousands separators,
  // blanks around allowed, at least one digit. IsSpreadsheetNumber tells the form
  // alone; ParseSpreadsheetNumber gives the amount it rounds to, nullopt too when
  // it is past any amount.
  static bool IsSpreadsheetNumber(std::string_view text);
  static std::optional<Amount> ParseSpreadsheetNumber(std::string_view text);

  int64_t Cents() const { return cents_; }

  // Pattern "0.##": at most two decimals, no trailing zeros, no comma when whole.
  std::string FormatShort() const;
  // Pattern "0.00": always two decimals.
  std::string FormatFixed() const;
  // The cents zero-filled to 16 digits; nullopt when negative or too large.
  std::optional<std::string> FormatCents16() const;

  // nullopt when the sum does not fit.
  std::optional<Amount> Plus(Amount other) const;

  friend auto operator<=>(const Amount&, const Amount&) = default;

 private:
  explicit Amount(int64_t cents) : cents_(cents) {}

  int64_t cents_ = 0;
};

}  // namespace velmora
