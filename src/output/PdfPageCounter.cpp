#include "PdfPageCounter.h"

#include <cctype>
#include <fstream>
#include <vector>

namespace velmora {

namespace {

constexpr std::string_view kMark = "/Type /Page";

}  // namespace

void PdfPageCounter::Add(std::string_view bytes) {
  // The carried bytes are less than a whole mark and the character after it.
  std::string text = carried_;
  text.append(bytes);
  const std::size_t whole = kMark.size() + 1;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find(kMark, from);
    if (at == std::string::npos || at + whole > text.size()) {
      // Unseen yet: the last bytes, which may start a mark or hold one whose next
      // character decides.
      const std::size_t keep = std::min(text.size(), whole - 1);
      const std::size_t carriedFrom =
          at == std::string::npos ? text.size() - keep : std::min(at, text.size() - keep);
      carried_ = text.substr(carriedFrom);
      return;
    }
    // A name goes on with letters: "/Pages" is another name.
    if (!std::isalnum(static_cast<unsigned char>(text[at + kMark.size()]))) ++pages_;
    from = at + 1;
  }
}

std::optional<std::size_t> CountPdfPages(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  PdfPageCounter counter;
  std::vector<char> piece(1 << 20);
  while (file) {
    file.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    counter.Add(std::string_view(piece.data(), static_cast<std::size_t>(file.gcount())));
  }
  if (file.bad()) return std::nullopt;
  // A mark at the very end of the file has nothing after it.
  counter.Add(" ");
  return counter.Pages();
}

}  // namespace velmora
