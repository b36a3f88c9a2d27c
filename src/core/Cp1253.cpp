#include "Cp1253.h"

#include <algorithm>
#include <array>

#include "Utf8.h"

namespace velmora {

namespace {

constexpr char32_t kUndefined = 0xFFFD;

// Byte to code point; the bytes that Windows-1253 leaves undefined map to U+FFFD.
constexpr std::array<char32_t, 256> kToUnicode = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009, 0x000A, 0x000B,
    0x000C, 0x000D, 0x000E, 0x000F, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017,
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F, 0x0020, 0x0021, 0x0022, 0x0023,
    0x0024, 0x0025, 0x0026, 0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B,
    0x003C, 0x003D, 0x003E, 0x003F, 0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053,
    0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, 0x0068, 0x0069, 0x006A, 0x006B,
    0x006C, 0x006D, 0x006E, 0x006F, 0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F, 0x20AC, 0xFFFD, 0x201A, 0x0192,
    0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0xFFFD, 0x2039, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122, 0xFFFD, 0x203A,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0x00A0, 0x0385, 0x0386, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0xFFFD, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x2015, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x0384, 0x00B5, 0x00B6, 0x00B7, 0x0388, 0x0389, 0x038A, 0x00BB, 0x038C, 0x00BD, 0x038E, 0x038F,
    0x0390, 0x0391, 0x0392, 0x0393, 0x0394, 0x0395, 0x0396, 0x0397, 0x0398, 0x0399, 0x039A, 0x039B,
    0x039C, 0x039D, 0x039E, 0x039F, 0x03A0, 0x03A1, 0xFFFD, 0x03A3, 0x03A4, 0x03A5, 0x03A6, 0x03A7,
    0x03A8, 0x03A9, 0x03AA, 0x03AB, 0x03AC, 0x03AD, 0x03AE, 0x03AF, 0x03B0, 0x03B1, 0x03B2, 0x03B3,
    0x03B4, 0x03B5, 0x03B6, 0x03B7, 0x03B8, 0x03B9, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BE, 0x03BF,
    0x03C0, 0x03C1, 0x03C2, 0x03C3, 0x03C4, 0x03C5, 0x03C6, 0x03C7, 0x03C8, 0x03C9, 0x03CA, 0x03CB,
    0x03CC, 0x03CD, 0x03CE, 0xFFFD,
};

struct ReverseEntry {
  char32_t codePoint;
  unsigned char byte;
};

constexpr std::size_t CountDefinedHighBytes() {
  std::size_t count = 0;
  for (std::size_t b = 0x80; b < 256; ++b) {
    if (kToUnicode[b] != kUndefined) ++count;
  }
  return count;
}

// The upper half sorted by code point, for a binary search when encoding;
// the lower half is ASCII and maps to itself.
constexpr auto kFromUnicode = [] {
  std::array<ReverseEntry, CountDefinedHighBytes()> entries{};
  std::size_t next = 0;
  for (std::size_t b = 0x80; b < 256; ++b) {
    if (kToUnicode[b] != kUndefined) {
      entries[next++] = {kToUnicode[b], static_cast<unsigned char>(b)};
    }
  }
  std::sort(entries.begin(), entries.end(),
            [](const ReverseEntry& a, const ReverseEntry& b) { return a.codePoint < b.codePoint; });
  return entries;
}();

}  // namespace

char32_t Cp1253ToUnicode(unsigned char b) { return kToUnicode[b]; }

std::optional<unsigned char> UnicodeToCp1253(char32_t c) {
  if (c < 0x80) return static_cast<unsigned char>(c);
  const auto* it = std::lower_bound(
      kFromUnicode.begin(), kFromUnicode.end(), c,
      [](const ReverseEntry& entry, char32_t value) { return entry.codePoint < value; });
  if (it == kFromUnicode.end() || it->codePoint != c) return std::nullopt;
  return it->byte;
}

void AppendCp1253AsUtf8(std::string& out, std::string_view bytes) {
  for (const char b : bytes) {
    if (static_cast<unsigned char>(b) < 0x80) {
      out += b;
    } else {
      AppendUtf8(out, kToUnicode[static_cast<unsigned char>(b)]);
    }
  }
}

std::string Cp1253ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  AppendCp1253AsUtf8(out, bytes);
  return out;
}

std::optional<std::string> Utf8ToCp1253(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto c = NextUtf8(utf8, pos);
    if (!c) return std::nullopt;
    const auto b = UnicodeToCp1253(*c);
    if (!b) return std::nullopt;
    out += static_cast<char>(*b);
  }
  return out;
}

namespace {

// The code page's bytes of the Greek block, U+0370 to U+03FF, made once.
constexpr char32_t kGreekFirst = 0x370;
constexpr char32_t kGreekEnd = 0x400;
const std::array<std::optional<unsigned char>, kGreekEnd - kGreekFirst>& GreekBytes() {
  static const auto greek = [] {
    std::array<std::optional<unsigned char>, kGreekEnd - kGreekFirst> table{};
    for (char32_t c = kGreekFirst; c < kGreekEnd; ++c) table[c - kGreekFirst] = UnicodeToCp1253(c);
    return table;
  }();
  return greek;
}

}  // namespace

Cp1253Fit EncodeCp1253Into(std::string_view utf8, char* out, std::size_t width,
                           std::string& offending) {
  const auto& greek = GreekBytes();
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  std::size_t written = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = bytes[i];
    // The two common cases first: a printable ASCII character, and a Greek letter
    // (two bytes led by CE or CF).
    if (lead >= 0x20 && lead < 0x7F) {
      if (written < width) out[written++] = static_cast<char>(lead);
      ++i;
      continue;
    }
    if ((lead == 0xCE || lead == 0xCF) && i + 1 < utf8.size() && (bytes[i + 1] & 0xC0) == 0x80) {
      const char32_t code = static_cast<char32_t>((lead & 0x1F) << 6 | (bytes[i + 1] & 0x3F));
      const auto byte = greek[code - kGreekFirst];
      if (!byte) {
        offending = utf8.substr(i, 2);
        return Cp1253Fit::Unrepresentable;
      }
      if (written < width) out[written++] = static_cast<char>(*byte);
      i += 2;
      continue;
    }
    std::size_t next = i;
    const auto code = NextUtf8(utf8, next);
    if (!code) {
      offending = "\xEF\xBF\xBD";
      return Cp1253Fit::Unrepresentable;
    }
    if (*code < 0x20 || *code == 0x7F) return Cp1253Fit::ControlCharacter;
    const auto byte = *code >= kGreekFirst && *code < kGreekEnd ? greek[*code - kGreekFirst]
                                                                : UnicodeToCp1253(*code);
    if (!byte) {
      offending = utf8.substr(i, next - i);
      return Cp1253Fit::Unrepresentable;
    }
    if (written < width) out[written++] = static_cast<char>(*byte);
    i = next;
  }
  return Cp1253Fit::Fits;
}

}  // namespace velmora
