#include "SpreadsheetReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <string_view>
#include <utility>

#include "CsvReader.h"
#include "OdsRepeatScan.h"
#include "OrcusSheetReader.h"
#include "XlsSheetInHelper.h"
#include "ZipArchiveCheck.h"
#include "SystemReason.h"

namespace velmora {

namespace {

using Reason = SheetReadFailure::Reason;

// No file the program reads is larger than this; a bigger one is refused unread.
constexpr std::uintmax_t kMaxFileBytes = 256u * 1024 * 1024;
// A CSV text of 99,999 full rows is far smaller; a larger one is refused unread.
constexpr std::uintmax_t kMaxCsvBytes = 48u * 1024 * 1024;

constexpr std::string_view kZipMagic = "PK\x03\x04";
constexpr std::string_view kCompoundFileMagic = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
// The stream name, in UTF-16, that a password-protected .xlsx keeps in its
// compound file.
constexpr std::string_view kEncryptedPackage{"E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0",
                                             32};

SheetReadFailure SystemFailure(int error) {
  SheetReadFailure failure{Reason::CannotRead};
  failure.systemReason = SystemReason(error);
  return failure;
}

std::string LowerExtension(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

bool Contains(const std::vector<std::string>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

SheetReadResult ReadZipSheet(std::string_view bytes) {
  const ZipArchiveCheck archive = CheckZipArchive(bytes);
  if (archive.verdict == ZipArchiveCheck::Verdict::TooLarge) {
    return SheetReadFailure{Reason::TooLarge};
  }
  if (archive.verdict != ZipArchiveCheck::Verdict::Sound) return SheetReadFailure{Reason::Damaged};
  if (Contains(archive.entryNames, "xl/workbook.xml")) {
    return ReadOrcusSheet(bytes, OrcusFormat::Xlsx);
  }
  if (Contains(archive.entryNames, "content.xml")) {
    try {
      if (!OdsRepeatsWithinLimits(bytes)) return SheetReadFailure{Reason::TooLarge};
    } catch (...) {
      return SheetReadFailure{Reason::Damaged};
    }
    return ReadOrcusSheet(bytes, OrcusFormat::Ods);
  }
  return SheetReadFailure{Reason::NotASpreadsheet};
}

}  // namespace

SheetReadResult ReadFirstSheet(const std::string& path, const std::atomic<bool>* stop) {
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) return SystemFailure(errno);
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0) return SystemFailure(errno);
  if (static_cast<std::uintmax_t>(size) > kMaxFileBytes) return SheetReadFailure{Reason::TooLarge};
  if (size == 0) return SheetReadFailure{Reason::Empty};
  // An .xls workbook is read from its path, by FreeXL: only its first bytes are
  // needed here, and reading all of a large one would cost as much as a tenth of
  // the import.
  std::string bytes(std::min(static_cast<std::size_t>(size), kCompoundFileMagic.size()), '\0');
  file.seekg(0);
  const auto readFrom = [&file, &bytes](std::size_t offset) -> std::optional<SheetReadFailure> {
    if (file.read(bytes.data() + offset, static_cast<std::streamsize>(bytes.size() - offset)))
      return std::nullopt;
    return errno != 0 ? SystemFailure(errno) : SheetReadFailure{Reason::Damaged};
  };
  if (auto failed = readFrom(0)) return *failed;
  const std::size_t start = bytes.size();
  if (bytes.starts_with(kCompoundFileMagic)) {
    SheetReadResult read = ReadXlsSheetInHelper(path, stop);
    // A password-protected .xlsx is a compound file too, with no workbook in it for
    // FreeXL to find.
    if (std::holds_alternative<SheetReadFailure>(read)) {
      bytes.resize(static_cast<std::size_t>(size));
      if (!readFrom(start) && bytes.find(kEncryptedPackage) != std::string::npos)
        return SheetReadFailure{Reason::PasswordProtected};
    }
    return read;
  }
  const std::string extension = LowerExtension(path);
  if (!bytes.starts_with(kZipMagic.substr(0, bytes.size())) &&
      static_cast<std::uintmax_t>(size) > kMaxCsvBytes)
    return SheetReadFailure{Reason::TooLarge};
  bytes.resize(static_cast<std::size_t>(size));
  if (auto failed = readFrom(start)) return *failed;

  if (bytes.starts_with(kZipMagic)) return ReadZipSheet(bytes);
  if (extension == ".csv" || extension == ".txt") return ReadCsvSheet(std::move(bytes));
  return SheetReadFailure{Reason::NotASpreadsheet};
}

}  // namespace velmora
