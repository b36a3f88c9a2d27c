#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "Sheet.h"

namespace velmora {

// No report is larger than the largest sheet the program admits.
inline constexpr std::size_t kMaxReportBytes =
    SheetBuilder::kMaxTextBytes + SheetBuilder::kMaxCells * 20 + 1024;
// Where the helper that reads .xls workbooks finds the shared area.
inline constexpr int kHelperReportFd = 3;

// The memory in which the helper that reads an .xls workbook writes its report
// (SheetReport), shared with the program, which reads the report in place as it
// grows. The helper tells through a pipe how far the report has come. Only the
// pages written are ever given memory, and the area's size is sealed: the helper
// cannot shrink it under the program's reading.
class SharedReport {
 public:
  // A new area, for the program; check Mapped(), errno says why not.
  SharedReport();
  // The area handed to the helper as fd, for writing.
  explicit SharedReport(int fd);
  SharedReport(const SharedReport&) = delete;
  SharedReport& operator=(const SharedReport&) = delete;
  ~SharedReport();

  bool Mapped() const { return bytes_ != nullptr; }
  int Fd() const { return fd_; }

  // In the helper: appends a piece and writes to reachFd how far the report now
  // reaches, as a native 64-bit number.
  bool Append(int reachFd, std::string_view piece);
  // In the program: the report between two reaches, or nullopt when `to` is not
  // further on within the area.
  std::optional<std::string_view> Between(std::uint64_t from, std::uint64_t to) const;

 private:
  int fd_ = -1;
  char* bytes_ = nullptr;
  std::size_t written_ = 0;
};

}  // namespace velmora
