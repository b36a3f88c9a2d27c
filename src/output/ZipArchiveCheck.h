#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// What the central directory of a ZIP archive promises, checked before the archive
// is handed to a reader that trusts it: the reader allocates each entry's declared
// uncompressed size, so a lying or enormous archive (a "zip bomb") must stop here.
struct ZipArchiveCheck {
  enum class Verdict { Sound, Damaged, TooLarge };
  Verdict verdict = Verdict::Damaged;
  std::vector<std::string> entryNames;  // in directory order, when sound
};

constexpr std::uint64_t kMaxZipUncompressedBytes = 256u * 1024 * 1024;
constexpr std::size_t kMaxZipEntries = 10'000;

// Sound when the end record and every directory entry lie inside the bytes, every
// entry's local header and data do too, each entry is stored or deflated, no entry
// claims to shrink by more than deflate can (1032 to 1), and the declared sizes add
// up to at most maxUncompressed. ZIP64 archives count as too large.
ZipArchiveCheck CheckZipArchive(std::string_view bytes,
                                std::uint64_t maxUncompressed = kMaxZipUncompressedBytes);

}  // namespace velmora
