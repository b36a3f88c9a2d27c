#include "ZipArchiveCheck.h"

#include "ZipRecords.h"

namespace velmora {

namespace {

constexpr std::size_t kMaxCommentSize = 0xFFFF;
// Deflate cannot expand more than about 1032 times; a larger claim is a lie.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

std::uint32_t Read16(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}
std::uint32_t Read32(std::string_view bytes, std::size_t at) {
  return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

}  // namespace

ZipArchiveCheck CheckZipArchive(std::string_view bytes, std::uint64_t maxUncompressed) {
  ZipArchiveCheck result;
  const auto damaged = [&] {
    result.verdict = ZipArchiveCheck::Verdict::Damaged;
    result.entryNames.clear();
    return result;
  };
  const auto tooLarge = [&] {
    result.verdict = ZipArchiveCheck::Verdict::TooLarge;
    result.entryNames.clear();
    return result;
  };
  if (bytes.size() < kZipEndRecordSize) return damaged();

  // The last end record in the file, as readers search for it from the end.
  std::size_t end = bytes.size() - kZipEndRecordSize;
  const std::size_t lowest = bytes.size() > kZipEndRecordSize + kMaxCommentSize
                                 ? bytes.size() - kZipEndRecordSize - kMaxCommentSize
                                 : 0;
  while (Read32(bytes, end) != kZipEndRecordSignature) {
    if (end == lowest) return damaged();
    --end;
  }
  const std::uint32_t entriesHere = Read16(bytes, end + 8);
  const std::uint32_t entriesTotal = Read16(bytes, end + 10);
  const std::uint32_t directorySize = Read32(bytes, end + 12);
  const std::uint32_t directoryOffset = Read32(bytes, end + 16);
  if (entriesTotal == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF) {
    return tooLarge();
  }
  if (Read16(bytes, end + 4) != 0 || Read16(bytes, end + 6) != 0 || entriesHere != entriesTotal) {
    return damaged();  // split across several disks, or inconsistent
  }
  if (entriesTotal > kMaxZipEntries) return tooLarge();
  if (std::uint64_t{directoryOffset} + directorySize > end) return damaged();

  std::uint64_t declaredTotal = 0;
  std::size_t at = directoryOffset;
  const std::size_t directoryEnd = directoryOffset + directorySize;
  result.entryNames.reserve(entriesTotal);
  for (std::uint32_t i = 0; i < entriesTotal; ++i) {
    if (at + kZipCentralRecordSize > directoryEnd ||
        Read32(bytes, at) != kZipCentralRecordSignature) {
      return damaged();
    }
    const std::uint32_t method = Read16(bytes, at + 10);
    const std::uint32_t compressed = Read32(bytes, at + 20);
    const std::uint32_t uncompressed = Read32(bytes, at + 24);
    const std::size_t nameLength = Read16(bytes, at + 28);
    const std::size_t extraLength = Read16(bytes, at + 30);
    const std::size_t commentLength = Read16(bytes, at + 32);
    const std::uint32_t localOffset = Read32(bytes, at + 42);
    if (compressed == 0xFFFFFFFF || uncompressed == 0xFFFFFFFF || localOffset == 0xFFFFFFFF) {
      return tooLarge();
    }
    const std::size_t next = at + kZipCentralRecordSize + nameLength + extraLength + commentLength;
    if (next > directoryEnd) return damaged();
    if (method != 0 && method != 8) return damaged();
    if (method == 0 && compressed != uncompressed) return damaged();
    if (method == 8 && uncompressed > (std::uint64_t{compressed} + 1) * kMaxDeflateRatio) {
      return tooLarge();
    }
    declaredTotal += uncompressed;
    if (declaredTotal > maxUncompressed) return tooLarge();

    if (std::uint64_t{localOffset} + kZipLocalHeaderSize > directoryOffset ||
        Read32(bytes, localOffset) != kZipLocalHeaderSignature) {
      return damaged();
    }
    const std::uint64_t dataStart = std::uint64_t{localOffset} + kZipLocalHeaderSize +
                                    Read16(bytes, localOffset + 26) +
                                    Read16(bytes, localOffset + 28);
    if (dataStart + compressed > directoryOffset) return damaged();

    result.entryNames.emplace_back(bytes.substr(at + kZipCentralRecordSize, nameLength));
    at = next;
  }
  result.verdict = ZipArchiveCheck::Verdict::Sound;
  return result;
}

}  // namespace velmora
