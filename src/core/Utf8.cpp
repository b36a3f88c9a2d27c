#include "Utf8.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace velmora {

std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07;
    minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - pos < static_cast<std::size_t>(length)) return std::nullopt;
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  pos += length;
  return value;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

namespace {

constexpr std::uint64_t EveryByte(std::uint8_t b) { return 0x0101010101010101u * b; }

// The high bit of each byte of word that is zero; the others clear.
constexpr std::uint64_t ZeroBytes(std::uint64_t word) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
  return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// The high bit of each byte of word whose bits under mask equal pattern.
constexpr std::uint64_t BytesLike(std::uint64_t word, std::uint8_t mask, std::uint8_t pattern) {
  return ZeroBytes((word & EveryByte(mask)) ^ EveryByte(pattern));
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t pos = 0;
  // 0x80 when the byte before pos is a lead whose continuation is the byte at pos.
  std::uint64_t carried = 0;
  while (pos < text.size()) {
    // Eight bytes at a time while they hold only ASCII and two-byte letters (the
    // Greek ones among them), each lead from C2 on followed by one continuation.
    // Each step goes on by eight whatever it found, so steps do not wait on one
    // another; a lead in the last byte is carried into the next step.
    if (text.size() - pos >= 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, bytes + pos, sizeof word);
      if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
      if ((word & EveryByte(0x80)) == 0 && carried == 0) {
        pos += 8;
        continue;
      }
      const std::uint64_t continuations = BytesLike(word, 0xC0, 0x80);
      const std::uint64_t leads = BytesLike(word, 0xE0, 0xC0);
      const std::uint64_t longer = BytesLike(word, 0xE0, 0xE0);
      const std::uint64_t overlong = BytesLike(word, 0xFE, 0xC0);
      if (longer == 0 && overlong == 0 && continuations == ((leads << 8) | carried)) {
        carried = leads >> 56;
        pos += 8;
        continue;
      }
    }
    // Letter by letter from here, from the carried lead if there is one.
    if (carried != 0) {
      --pos;
      carried = 0;
    }
    if (!NextUtf8(text, pos)) return false;
  }
  return carried == 0;
}

}  // namespace velmora
