#pragma once

#include <string>

namespace velmora {

// The working files of the statement being edited, in the folder "temp" under a
// base folder that the caller owns.
class WorkingFiles {
 public:
  static constexpr const char* kGeneralData = "generalData";
  static constexpr const char* kCustomerLines = "record2";
  static constexpr const char* kCustomerAmounts = "record3";
  static constexpr const char* kSupplierLines = "record4";
  static constexpr const char* kSupplierAmounts = "record5";
  static constexpr const char* kCustomerSnapshot = "record21";
  static constexpr const char* kSupplierSnapshot = "record22";
  // The filer's fields, the kind and the amounts as the window shows them, kept
  // so that a crash does not lose them.
  static constexpr const char* kForm = "form";

  explicit WorkingFiles(std::string baseFolder);

  std::string Folder() const;
  std::string Path(const char* name) const;

  // An existing folder, or one that cannot be made, is not an error here.
  void CreateFolder() const noexcept;
  // Creates or truncates the header, line and amounts files (not the snapshots);
  // throws VelmoraError with the system's reason.
  void ResetStatementFiles() const;
  // The first line of the header file; empty when the file is empty or missing.
  // Throws VelmoraError with the system's reason when it exists but cannot be read.
  std::string ReadHeaderLine() const;
  // Deletes every working file, then the folder if nothing else is left in it.
  void RemoveAll() const noexcept;

 private:
  std::string folder_;
};

}  // namespace velmora
