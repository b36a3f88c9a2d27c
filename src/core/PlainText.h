#pragma once

#include <string_view>

namespace velmora {

// Small helpers over bytes of text, shared by every layer.

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True for the empty text too.
constexpr bool IsAllDigits(std::string_view text) {
  for (const char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// The text without the blanks at its end.
constexpr std::string_view WithoutTrailingBlanks(std::string_view text) {
  // Fields are mostly blank at their end: step over eight blanks at a time.
  constexpr std::string_view kEightBlanks = "        ";
  while (text.size() >= kEightBlanks.size() && text.ends_with(kEightBlanks))
    text.remove_suffix(kEightBlanks.size());
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The text without the blanks at either end.
constexpr std::string_view WithoutBlanks(std::string_view text) {
  text = WithoutTrailingBlanks(text);
  const auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// A blank or a control character: every code up to 32.
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The text without blanks and control characters at either end.
constexpr std::string_view WithoutControls(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace velmora
