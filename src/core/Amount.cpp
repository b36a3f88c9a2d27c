#include "Amount.h"

#include <limits>
#include <string>

#include "PlainText.h"

namespace velmora {

namespace {

constexpr uint64_t kMaxMagnitude = std::numeric_limits<int64_t>::max();

// value = value * 10 + digit, refusing to pass the largest int64.
bool AppendDigit(uint64_t& value, unsigned digit) {
  if (value > (kMaxMagnitude - digit) / 10) return false;
  value = value * 10 + digit;
  return true;
}

uint64_t Magnitude(int64_t cents) {
  return cents < 0 ? 0 - static_cast<uint64_t>(cents) : static_cast<uint64_t>(cents);
}

std::string WithSign(int64_t cents, std::string digits) {
  return cents < 0 ? "-" + digits : digits;
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  return at;
}

// The parts of a decimal number: sign, digits (the point after `point` of them)
// and the exponent, saturated far beyond any amount.
struct DecimalParts {
  bool negative = false;
  std::string_view wholeDigits, fractionDigits;
  long exponent = 0;
};

std::optional<DecimalParts> SplitDecimal(std::string_view text) {
  text = WithoutBlanks(text);
  DecimalParts parts;
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) parts.negative = text[at++] == '-';
  std::size_t end = SkipDigits(text, at);
  parts.wholeDigits = text.substr(at, end - at);
  at = end;
  if (at < text.size() && text[at] == ',') {
    end = SkipDigits(text, ++at);
    parts.fractionDigits = text.substr(at, end - at);
    at = end;
  }
  if (parts.wholeDigits.empty() && parts.fractionDigits.empty()) return std::nullopt;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    bool negativeExponent = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
      negativeExponent = text[at++] == '-';
    }
    end = SkipDigits(text, at);
    if (end == at) return std::nullopt;
    for (; at < end; ++at)
      parts.exponent = std::min(parts.exponent * 10 + (text[at] - '0'), 100000L);
    if (negativeExponent) parts.exponent = -parts.exponent;
  }
  if (at != text.size()) return std::nullopt;
  return parts;
}

}  // namespace

std::optional<Amount> Amount::Parse(std::string_view text) {
  text = WithoutBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const auto comma = text.find(',');
  const std::string_view whole = text.substr(0, comma);
  const std::string_view decimals =
      comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  if (comma == std::string_view::npos && whole.empty()) return std::nullopt;
  // A second comma is not a digit of the decimals.
  if (!IsAllDigits(whole) || !IsAllDigits(decimals)) return std::nullopt;

  uint64_t cents = 0;
  for (const char c : whole) {
    if (!AppendDigit(cents, c - '0')) return std::nullopt;
  }
  for (std::size_t i = 0; i < 2; ++i) {
    if (!AppendDigit(cents, i < decimals.size() ? decimals[i] - '0' : 0)) return std::nullopt;
  }
  // Half away from zero: only the third decimal decides, whatever follows it.
  if (decimals.size() > 2 && decimals[2] >= '5') {
    if (cents == kMaxMagnitude) return std::nullopt;
    ++cents;
  }
  const auto signedCents = static_cast<int64_t>(cents);
  return Amount(negative ? -signedCents : signedCents);
}

std::optional<Amount> Amount::ParseCents(std::string_view digits) {
  if (digits.empty() || !IsAllDigits(digits)) return std::nullopt;
  uint64_t cents = 0;
  for (const char c : digits) {
    if (!AppendDigit(cents, c - '0')) return std::nullopt;
  }
  return Amount(static_cast<int64_t>(cents));
}

std::string Amount::FormatShort() const {
  const uint64_t magnitude = Magnitude(cents_);
  std::string text = std::to_string(magnitude / 100);
  const uint64_t fraction = magnitude % 100;
  if (fraction != 0) {
    text += ',';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
  }
  return WithSign(cents_, text);
}

std::string Amount::FormatFixed() const {
  const uint64_t magnitude = Magnitude(cents_);
  const uint64_t fraction = magnitude % 100;
  std::string text = std::to_string(magnitude / 100);
  text += ',';
  text += static_cast<char>('0' + fraction / 10);
  text += static_cast<char>('0' + fraction % 10);
  return WithSign(cents_, text);
}

std::optional<std::string> Amount::FormatCents16() const {
  constexpr std::size_t kWidth = 16;
  if (cents_ < 0) return std::nullopt;
  const std::string digits = std::to_string(cents_);
  if (digits.size() > kWidth) return std::nullopt;
  return std::string(kWidth - digits.size(), '0') + digits;
}

std::optional<Amount> Amount::Plus(Amount other) const {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  if ((other.cents_ > 0 && cents_ > kMax - other.cents_) ||
      (other.cents_ < 0 && cents_ < kMin - other.cents_)) {
    return std::nullopt;
  }
  return Amount(cents_ + other.cents_);
}

bool Amount::IsSpreadsheetNumber(std::string_view text) { return SplitDecimal(text).has_value(); }

std::optional<Amount> Amount::ParseSpreadsheetNumber(std::string_view text) {
  // The common case needs no shifting of the comma.
  if (text.find_first_of("eE") == std::string_view::npos) return Parse(text);
  const auto parts = SplitDecimal(text);
  if (!parts) return std::nullopt;
  std::string digits(parts->wholeDigits);
  digits += parts->fractionDigits;
  const auto firstSignificant = digits.find_first_not_of('0');
  if (firstSignificant == std::string::npos) return Amount();
  // Where the comma falls among the digits once the exponent has moved it.
  const long point = static_cast<long>(parts->wholeDigits.size()) + parts->exponent;
  const long significantPoint = point - static_cast<long>(firstSignificant);
  // Past 16 whole digits no amount is held; below a thousandth it rounds to 0.
  constexpr long kWidestWhole = 16;
  if (significantPoint > kWidestWhole) return std::nullopt;
  if (significantPoint < -3) return Amount();
  std::string plain = parts->negative ? "-" : "";
  if (point <= 0) {
    plain += "0,";
    plain.append(static_cast<std::size_t>(-point), '0');
    plain += digits;
  } else if (point >= static_cast<long>(digits.size())) {
    plain += digits;
    plain.append(static_cast<std::size_t>(point) - digits.size(), '0');
  } else {
    plain += digits.substr(0, static_cast<std::size_t>(point));
    plain += ',';
    plain += digits.substr(static_cast<std::size_t>(point));
  }
  return Parse(plain);
}

}  // namespace velmora
