#include "WorkingFiles.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "AtomicFile.h"
#include "TextFile.h"

namespace velmora {

WorkingFiles::WorkingFiles(std::string baseFolder) : folder_(std::move(baseFolder) + "/temp") {}

std::string WorkingFiles::Folder() const { return folder_; }

std::string WorkingFiles::Path(const char* name) const { return folder_ + "/" + name; }

void WorkingFiles::CreateFolder() const noexcept {
  std::error_code ignored;
  std::filesystem::create_directory(folder_, ignored);
}

void WorkingFiles::ResetStatementFiles() const {
  for (const char* name :
       {kGeneralData, kCustomerLines, kCustomerAmounts, kSupplierLines, kSupplierAmounts}) {
    WriteFileAtomically(Path(name), {}, false);
  }
}

std::string WorkingFiles::ReadHeaderLine() const {
  const std::string path = Path(kGeneralData);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return {};
  const std::vector<std::string> lines = ReadTextLines(path);
  return lines.empty() ? std::string() : lines.front();
}

void WorkingFiles::RemoveAll() const noexcept {
  std::error_code ignored;
  for (const char* name : {kGeneralData, kCustomerLines, kCustomerAmounts, kSupplierLines,
                           kSupplierAmounts, kCustomerSnapshot, kSupplierSnapshot, kForm}) {
    std::filesystem::remove(Path(name), ignored);
  }
  // Fails, and is meant to, when the user left a file of their own in the folder.
  std::filesystem::remove(folder_, ignored);
}

}  // namespace velmora
