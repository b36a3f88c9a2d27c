// The PDF page count over any bytes, fed in pieces split anywhere, against the
// plain count over the whole: a page mark split across two reads is counted once.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "PdfPageCounter.h"

namespace {

std::size_t PlainCount(std::string_view bytes) {
  constexpr std::string_view kMark = "/Type /Page";
  std::size_t count = 0;
  for (std::size_t at = bytes.find(kMark); at != std::string_view::npos;
       at = bytes.find(kMark, at + 1)) {
    const std::size_t after = at + kMark.size();
    if (after == bytes.size() || !std::isalnum(static_cast<unsigned char>(bytes[after]))) ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the size of the pieces.
  const std::size_t piece = 1 + data[0] % 16;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  velmora::PdfPageCounter counter;
  for (std::size_t at = 0; at < bytes.size(); at += piece) counter.Add(bytes.substr(at, piece));
  counter.Add(" ");
  if (counter.Pages() != PlainCount(bytes)) std::abort();
  return 0;
}
