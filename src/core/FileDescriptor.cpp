#include "FileDescriptor.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

#include "SystemReason.h"
#include "VelmoraError.h"

namespace velmora {

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

int FileDescriptor::Release() { return std::exchange(fd_, -1); }

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void ThrowSystemError(int error) { throw VelmoraError(SystemReason(error)); }

void ThrowSystemError(int error, const std::string& path) {
  throw VelmoraError(path + ": " + SystemReason(error));
}

}  // namespace velmora
