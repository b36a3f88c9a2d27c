// The Windows-1253 codec against glibc's iconv "CP1253", both ways.
#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "Cp1253.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// nullopt when iconv refuses the text.
std::optional<std::string> Convert(iconv_t cd, std::string_view text) {
  Require(cd != reinterpret_cast<iconv_t>(-1));
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string in(text);
  std::string out(text.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
  if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
    return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

std::optional<std::string> IconvToUtf8(std::string_view bytes) {
  static const iconv_t cd = iconv_open("UTF-8", "CP1253");
  return Convert(cd, bytes);
}

std::optional<std::string> IconvFromUtf8(std::string_view text) {
  static const iconv_t cd = iconv_open("CP1253", "UTF-8");
  return Convert(cd, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Bytes to UTF-8: iconv refuses the code page's undefined bytes, which the
  // codec shows as U+FFFD.
  const std::string utf8 = velmora::Cp1253ToUtf8(bytes);
  bool allDefined = true;
  for (const char b : bytes) {
    const auto one = IconvToUtf8(std::string_view(&b, 1));
    const char32_t c = velmora::Cp1253ToUnicode(static_cast<unsigned char>(b));
    if (!one) {
      allDefined = false;
      Require(c == U'\uFFFD');
    } else {
      Require(velmora::Cp1253ToUtf8(std::string_view(&b, 1)) == *one);
      Require(velmora::UnicodeToCp1253(c) == static_cast<unsigned char>(b));
    }
  }
  if (allDefined) {
    Require(IconvToUtf8(bytes) == utf8);
    Require(velmora::Utf8ToCp1253(utf8) == std::string(bytes));
  }

  // The input as UTF-8 to bytes: both refuse or both give the same bytes. glibc's
  // iconv drops Unicode's tag characters (U+E0000 to U+E007F, F3 A0 80 or 81 ...)
  // without a word; the codec refuses them, as it refuses every character the
  // code page lacks.
  if (bytes.find("\xF3\xA0\x80") != std::string_view::npos ||
      bytes.find("\xF3\xA0\x81") != std::string_view::npos) {
    Require(!velmora::Utf8ToCp1253(bytes));
  } else {
    Require(velmora::Utf8ToCp1253(bytes) == IconvFromUtf8(bytes));
  }
  return 0;
}
