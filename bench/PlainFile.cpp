#include "PlainFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace velmora {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  const std::string reason = std::strerror(errno);
  throw std::runtime_error("cannot " + what + " " + path + ": " + reason);
}

}  // namespace

std::string ReadPlainFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("open", path);
  struct stat status {};
  if (::fstat(fd, &status) != 0) Fail("stat", path);
  std::string bytes(static_cast<size_t>(status.st_size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) Fail("read", path);
    done += static_cast<size_t>(got);
  }
  ::close(fd);
  return bytes;
}

void WritePlainFile(const std::string& path, std::string_view bytes, bool sync) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) Fail("create", path);
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) Fail("write", path);
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  if (sync && ::fsync(fd) != 0) Fail("sync", path);
  if (::close(fd) != 0) Fail("close", path);
}

}  // namespace velmora
