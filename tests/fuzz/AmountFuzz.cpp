// Amount parsing against a plain reference in 128-bit arithmetic, and the formats
// read back to the same amount.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>

#include "Amount.h"

namespace {

// 128 bits hold any amount text's cents that int64 may overflow on.
__extension__ typedef __int128 Int128;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool Digits(std::string_view text) {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Blanks around, a sign, digits, a comma and decimals; a lone comma is 0; the third
// decimal rounds half away from zero; nullopt beyond int64 cents.
std::optional<int64_t> ReferenceCents(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const auto comma = text.find(',');
  std::string_view whole = text.substr(0, comma);
  const std::string_view decimals =
      comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  if (comma == std::string_view::npos && whole.empty()) return std::nullopt;
  if (!Digits(whole) || !Digits(decimals)) return std::nullopt;
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  if (whole.size() > 20) return std::nullopt;  // beyond any int64 number of cents
  Int128 cents = 0;
  for (const char c : whole) cents = cents * 10 + (c - '0');
  cents *= 100;
  if (decimals.size() > 0) cents += 10 * (decimals[0] - '0');
  if (decimals.size() > 1) cents += decimals[1] - '0';
  if (decimals.size() > 2 && decimals[2] >= '5') cents += 1;
  if (cents > std::numeric_limits<int64_t>::max()) return std::nullopt;
  return static_cast<int64_t>(negative ? -cents : cents);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto parsed = velmora::Amount::Parse(text);
  const auto reference = ReferenceCents(text);
  Require(parsed.has_value() == reference.has_value());
  if (parsed) {
    Require(parsed->Cents() == *reference);
    Require(velmora::Amount::Parse(parsed->FormatShort()) == parsed);
    Require(velmora::Amount::Parse(parsed->FormatFixed()) == parsed);
    if (const auto cents16 = parsed->FormatCents16()) {
      Require(cents16->size() == 16);
      Require(velmora::Amount::ParseCents(*cents16) == parsed);
    } else {
      Require(parsed->Cents() < 0 || parsed->Cents() > 9999999999999999);
    }
  }
  // A field of cents: digits only, up to the largest int64.
  const auto cents = velmora::Amount::ParseCents(text);
  std::optional<int64_t> expected;
  std::string_view digits = text;
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  if (!text.empty() && Digits(text) && digits.size() <= 20) {
    Int128 value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    if (value <= std::numeric_limits<int64_t>::max()) expected = static_cast<int64_t>(value);
  }
  Require(cents.has_value() == expected.has_value());
  if (cents) Require(cents->Cents() == *expected);
  return 0;
}
