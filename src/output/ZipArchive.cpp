#include "ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "AtomicFile.h"
#include "LittleEndian.h"
#include "ReplaceQuestion.h"
#include "TextFile.h"
#include "Utf8.h"
#include "VelmoraError.h"
#include "ZipRecords.h"

namespace velmora {

namespace {

constexpr const char* kTooLargeForZip = "Το αρχείο είναι πολύ μεγάλο για συμπιεσμένο αρχείο zip";
constexpr std::uint16_t kVersion = 20;
constexpr std::uint16_t kMethodDeflate = 8;
constexpr std::uint16_t kMadeOnUnix = 3 << 8;
constexpr std::uint32_t kRegularFileMode = 0100644;
constexpr std::uint64_t kLargestField = std::numeric_limits<std::uint32_t>::max();
// zlib takes and gives at most this much in one call.
constexpr std::size_t kLargestChunk = std::numeric_limits<uInt>::max();

// Raw deflate data (no zlib header or trailer) of data, at the default level,
// appended to out.
void AppendDeflated(std::string& out, std::string_view data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK)
    throw VelmoraError("deflate: " + std::string(stream.msg ? stream.msg : "init failed"));
  const std::size_t start = out.size();
  out.resize(start + deflateBound(&stream, static_cast<uLong>(data.size())));
  std::size_t produced = 0;
  int status = Z_OK;
  do {
    if (stream.avail_in == 0 && !data.empty()) {
      const std::size_t chunk = std::min(data.size(), kLargestChunk);
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
      stream.avail_in = static_cast<uInt>(chunk);
      data.remove_prefix(chunk);
    }
    if (start + produced == out.size()) out.resize(out.size() + (1 << 16));
    const std::size_t room = std::min(out.size() - start - produced, kLargestChunk);
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + start + produced);
    stream.avail_out = static_cast<uInt>(room);
    status = deflate(&stream, data.empty() ? Z_FINISH : Z_NO_FLUSH);
    produced += room - stream.avail_out;
  } while (status == Z_OK || status == Z_BUF_ERROR);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw VelmoraError("deflate failed");
  out.resize(start + produced);
}

std::uint32_t Crc32Of(std::string_view data) {
  uLong crc = crc32_z(0L, Z_NULL, 0);
  return static_cast<std::uint32_t>(
      crc32_z(crc, reinterpret_cast<const Bytef*>(data.data()), data.size()));
}

std::string_view NamePart(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

DosTimestamp DosTimestampOf(const std::tm& localTime) {
  const int year = localTime.tm_year + 1900;
  if (year < 1980) return {0, 1 * 32 + 1};
  if (year > 2107) return {23 * 2048 + 59 * 32 + 29, 127 * 512 + 12 * 32 + 31};
  // A leap second (60) is stored as 59.
  const int second = std::min(localTime.tm_sec, 59);
  return {static_cast<std::uint16_t>(localTime.tm_hour * 2048 + localTime.tm_min * 32 + second / 2),
          static_cast<std::uint16_t>((year - 1980) * 512 + (localTime.tm_mon + 1) * 32 +
                                     localTime.tm_mday)};
}

DosTimestamp DosTimestampNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DosTimestampOf(local);
}

std::uint16_t ZipNameFlags(std::string_view entryName) {
  const bool ascii = std::all_of(entryName.begin(), entryName.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return !ascii && IsValidUtf8(entryName) ? kZipUtf8NameFlag : 0;
}

std::string ZipEntryName(std::string_view path) { return std::string(NamePart(path)); }

std::string ComposeZipArchive(std::string_view entryName, std::string_view data,
                              DosTimestamp modified) {
  if (data.size() > kLargestField) throw VelmoraError(kTooLargeForZip);
  if (entryName.size() > std::numeric_limits<std::uint16_t>::max())
    throw VelmoraError("File name too long");
  const auto nameLength = static_cast<std::uint16_t>(entryName.size());

  std::string archive;
  archive.reserve(kZipLocalHeaderSize + 2 * entryName.size() + kZipCentralRecordSize +
                  kZipEndRecordSize + compressBound(static_cast<uLong>(data.size())));
  // The local header; the compressed size is filled in once it is known.
  Put32(archive, kZipLocalHeaderSignature);
  Put16(archive, kVersion);
  const std::uint16_t flags = ZipNameFlags(entryName);
  Put16(archive, flags);
  Put16(archive, kMethodDeflate);
  Put16(archive, modified.time);
  Put16(archive, modified.date);
  Put32(archive, Crc32Of(data));
  const std::size_t compressedSizeAt = archive.size();
  Put32(archive, 0);
  Put32(archive, static_cast<std::uint32_t>(data.size()));
  Put16(archive, nameLength);
  Put16(archive, 0);
  archive += entryName;
  const std::size_t dataStart = archive.size();
  AppendDeflated(archive, data);
  const std::uint64_t compressedSize = archive.size() - dataStart;
  const std::uint64_t centralOffset = archive.size();
  if (compressedSize > kLargestField ||
      centralOffset + kZipCentralRecordSize + entryName.size() + kZipEndRecordSize > kLargestField)
    throw VelmoraError(kTooLargeForZip);
  Patch32(archive, compressedSizeAt, static_cast<std::uint32_t>(compressedSize));

  Put32(archive, kZipCentralRecordSignature);
  // unzip converts the name of an entry made on MS-DOS (host 0) from the DOS code
  // page even when the name is flagged UTF-8, which garbles Greek letters; the
  // same entry made on Unix (host 3) keeps its name, and then needs a file mode,
  // for with mode 0 it would be extracted unreadable.
  const bool utf8Name = (flags & kZipUtf8NameFlag) != 0;
  Put16(archive, utf8Name ? kMadeOnUnix | kVersion : kVersion);
  const std::string localFields = archive.substr(4, kZipLocalHeaderSize - 4);
  archive += localFields;
  Put16(archive, 0);                                      // file comment length
  Put16(archive, 0);                                      // disk number start
  Put16(archive, 0);                                      // internal attributes
  Put32(archive, utf8Name ? kRegularFileMode << 16 : 0);  // external attributes
  Put32(archive, 0);                                      // the local header is at the very start
  archive += entryName;
  const std::uint64_t centralSize = archive.size() - centralOffset;

  Put32(archive, kZipEndRecordSignature);
  Put16(archive, 0);
  Put16(archive, 0);
  Put16(archive, 1);
  Put16(archive, 1);
  Put32(archive, static_cast<std::uint32_t>(centralSize));
  Put32(archive, static_cast<std::uint32_t>(centralOffset));
  Put16(archive, 0);
  return archive;
}

std::string ZipArchivePath(std::string_view chosenPath) { return std::string(chosenPath) + ".zip"; }

std::string ZipReplaceQuestion(std::string_view chosenPath) {
  return ReplaceQuestion(std::string(NamePart(chosenPath)) + ".zip");
}

std::optional<Failure> WriteZipCopy(const std::string& sourcePath, const std::string& archivePath,
                                    DosTimestamp modified) {
  std::string data;
  try {
    data = ReadFileBytes(sourcePath, kMaxZipSourceBytes);
  } catch (const std::exception& error) {
    return SystemFailure("Δεν ήταν δυνατή η ανάγνωση του αρχείου " + sourcePath + "\n" +
                         error.what());
  }
  try {
    WriteFileAtomically(archivePath, ComposeZipArchive(ZipEntryName(sourcePath), data, modified),
                        true);
  } catch (const std::exception& error) {
    return SystemFailure("Δεν ήταν δυνατή η δημιουργία του συμπιεσμένου αρχείου " + archivePath +
                         "\n" + error.what());
  }
  return std::nullopt;
}

}  // namespace velmora
