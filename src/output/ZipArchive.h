#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "Failure.h"

namespace velmora {

// The ZIP copy of a file: an archive of one deflated entry, laid out as local
// header, data, central directory record and end record.

// Modification time and date as a ZIP archive stores them (MS-DOS format).
struct DosTimestamp {
  std::uint16_t time = 0;  // hour * 2048 + minute * 32 + second / 2
  std::uint16_t date = 0;  // (year - 1980) * 512 + month * 32 + day
  friend bool operator==(const DosTimestamp&, const DosTimestamp&) = default;
};

// The DOS form of a local calendar time. A moment outside the years the form
// can hold (1980 to 2107) becomes the nearest one it can.
DosTimestamp DosTimestampOf(const std::tm& localTime);
// The DOS form of this moment on the local clock.
DosTimestamp DosTimestampNow();

// General purpose flag: the entry name is UTF-8.
inline constexpr std::uint16_t kZipUtf8NameFlag = 1u << 11;

// The flags the archive gives an entry of this name: none for a plain ASCII
// name, kZipUtf8NameFlag for any other name that is valid UTF-8 (the way file
// names are spelt here), so that every reader shows its Greek letters; none for
// bytes in no known encoding, which are stored as they are.
std::uint16_t ZipNameFlags(std::string_view entryName);

// The entry's name: the file name of path, without any folder.
std::string ZipEntryName(std::string_view path);

// The bytes of an archive holding one entry named entryName with the deflated
// data: method 8, version 20, flags from ZipNameFlags, CRC-32 of data, both
// sizes, no extra field, no comments. An entry without a UTF-8 name is made by
// version 20 on MS-DOS (host 0) with external attributes 0; one with a UTF-8
// name is made on Unix (host 3) as a regular file with mode 0644, the only way
// unzip keeps its letters. Throws
// VelmoraError when the data or the archive is too large for a ZIP archive
// without 64-bit extensions (4 GiB).
std::string ComposeZipArchive(std::string_view entryName, std::string_view data,
                              DosTimestamp modified);

// The archive's path for the name chosen in the save dialog: ".zip" is always
// appended, so "A.zip" gives "A.zip.zip".
std::string ZipArchivePath(std::string_view chosenPath);

// The question asked before an existing archive is replaced, for the name
// chosen in the save dialog.
std::string ZipReplaceQuestion(std::string_view chosenPath);

// No submission file is larger (about 30 MB for 99,999 lines a side): a larger
// source is refused before it is read, so that the copy and its archive stay small.
inline constexpr std::size_t kMaxZipSourceBytes = 33u << 20;

// Reads sourcePath whole and writes its archive to archivePath (replacing any
// file there) through a temporary file that is renamed over it, so a failure
// leaves an earlier archive as it was. nullopt on success.
std::optional<Failure> WriteZipCopy(const std::string& sourcePath, const std::string& archivePath,
                                    DosTimestamp modified);

}  // namespace velmora
