#include "Amount.h"

#include <limits>

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

}  // namespace velmora
