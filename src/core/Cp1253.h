#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Windows-1253 (Greek), the code page of every file the program reads or writes.

// The code point of a byte; U+FFFD for the bytes the code page leaves undefined.
char32_t Cp1253ToUnicode(unsigned char b);

// The byte of a code point, or nullopt when the code page has none for it.
std::optional<unsigned char> UnicodeToCp1253(char32_t c);

std::string Cp1253ToUtf8(std::string_view bytes);

// nullopt when the text is not valid UTF-8 or holds a character without a byte.
std::optional<std::string> Utf8ToCp1253(std::string_view utf8);

}  // namespace velmora
