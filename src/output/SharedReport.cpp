#include "SharedReport.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FileDescriptor.h"

namespace velmora {

namespace {

char* Map(int fd, int protection) {
  void* area = ::mmap(nullptr, kMaxReportBytes, protection, MAP_SHARED | MAP_NORESERVE, fd, 0);
  return area == MAP_FAILED ? nullptr : static_cast<char*>(area);
}

}  // namespace

SharedReport::SharedReport() {
  fd_ = ::memfd_create("velmora-sheet-report", MFD_CLOEXEC | MFD_ALLOW_SEALING);
  if (fd_ < 0) return;
  if (::ftruncate(fd_, static_cast<off_t>(kMaxReportBytes)) != 0 ||
      ::fcntl(fd_, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL) != 0)
    return;
  bytes_ = Map(fd_, PROT_READ);
}

SharedReport::SharedReport(int fd) : fd_(fd), bytes_(Map(fd, PROT_READ | PROT_WRITE)) {}

SharedReport::~SharedReport() {
  const int error = errno;  // a failed constructor's reason outlives the clean-up
  if (bytes_) ::munmap(bytes_, kMaxReportBytes);
  if (fd_ >= 0) ::close(fd_);
  errno = error;
}

bool SharedReport::Append(int reachFd, std::string_view piece) {
  if (piece.size() > kMaxReportBytes - written_) return false;
  std::memcpy(bytes_ + written_, piece.data(), piece.size());
  written_ += piece.size();
  const std::uint64_t reach = written_;
  return WriteAll(reachFd, std::string_view(reinterpret_cast<const char*>(&reach), sizeof reach));
}

std::optional<std::string_view> SharedReport::Between(std::uint64_t from, std::uint64_t to) const {
  if (to < from || to > kMaxReportBytes) return std::nullopt;
  return std::string_view(bytes_ + from, to - from);
}

}  // namespace velmora
