#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Decodes the UTF-8 sequence at text[pos] and moves pos past it; nullopt on a
// malformed, overlong or truncated sequence, a surrogate or a value beyond
// U+10FFFF (pos then stays).
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t codePoint);

bool IsValidUtf8(std::string_view text);

}  // namespace velmora
