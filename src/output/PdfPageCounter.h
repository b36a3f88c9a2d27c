#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Counts the pages of a PDF file as its page objects ("/Type /Page", not the
// "/Type /Pages" of the page tree), read piece by piece so that a large file costs
// no more memory than a piece. Enough for the files QPdfWriter makes, which keep
// every object outside compressed streams; a check that a written file is whole,
// not a PDF reader.
class PdfPageCounter {
 public:
  // Feeds the next bytes of the file.
  void Add(std::string_view bytes);
  std::size_t Pages() const { return pages_; }

 private:
  std::size_t pages_ = 0;
  // The end of the bytes so far that may begin a mark split across two pieces.
  std::string carried_;
};

// The pages of the file at path; nullopt when it cannot be read.
std::optional<std::size_t> CountPdfPages(const std::string& path);

}  // namespace velmora
