#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace velmora {

// Windows-1253 (Greek), the code page of every file the program reads or writes.

// Text as the program's files hold it: Windows-1253 bytes, one byte a character.
// A type of its own, so that it is never taken for UTF-8 message text: the two
// meet only through the conversions below.
class Cp1253Text {
 public:
  Cp1253Text() = default;
  explicit Cp1253Text(std::string bytes) : bytes_(std::move(bytes)) {}
  explicit Cp1253Text(std::string_view bytes) : bytes_(bytes) {}
  explicit Cp1253Text(const char* bytes) : bytes_(bytes) {}

  const std::string& bytes() const { return bytes_; }
  std::string& bytes() { return bytes_; }
  std::string_view view() const { return bytes_; }
  bool empty() const { return bytes_.empty(); }
  std::size_t size() const { return bytes_.size(); }
  void clear() { bytes_.clear(); }

  friend bool operator==(const Cp1253Text&, const Cp1253Text&) = default;
  friend auto operator<=>(const Cp1253Text&, const Cp1253Text&) = default;

 private:
  std::string bytes_;
};

// The code point of a byte; U+FFFD for the bytes the code page leaves undefined.
char32_t Cp1253ToUnicode(unsigned char b);

// The byte of a code point, or nullopt when the code page has none for it.
std::optional<unsigned char> UnicodeToCp1253(char32_t c);

// Cp1253ToUtf8 onto the end of out, without a text of its own.
void AppendCp1253AsUtf8(std::string& out, std::string_view bytes);
std::string Cp1253ToUtf8(std::string_view bytes);

// nullopt when the text is not valid UTF-8 or holds a character without a byte.
std::optional<std::string> Utf8ToCp1253(std::string_view utf8);

enum class Cp1253Fit { Fits, Unrepresentable, ControlCharacter };
// UTF-8 written into out as Windows-1253, its first `width` bytes kept and the
// rest checked and dropped. Unrepresentable names in `offending` the first
// character the code page lacks (U+FFFD for bytes that are not UTF-8);
// ControlCharacter stops at a character below U+0020 or DEL, which would break
// a line of a fixed-width file.
Cp1253Fit EncodeCp1253Into(std::string_view utf8, char* out, std::size_t width,
                           std::string& offending);

}  // namespace velmora
