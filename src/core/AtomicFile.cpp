#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <random>

#include "VelmoraError.h"

namespace velmora {

namespace {

// A fresh file beside path, created with the usual permissions (mkstemp would
// make it private to the owner, and the rename would pass that on to the target).
int CreateTemporary(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::minstd_rand random(device() ^ static_cast<unsigned>(::getpid()) ^ counter++);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path + '.';
    for (int i = 0; i < 6; ++i) tempPath += kLetters[random() % (sizeof kLetters - 1)];
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// Makes the rename itself survive a crash; the new file is complete either way.
void SyncFolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Streams lines with their CR LF through one buffer, so that no copy of the
// whole text is ever made.
bool WriteLines(int fd, const std::vector<std::string>& lines) {
  constexpr size_t kBufferSize = 1 << 18;
  std::string buffer;
  buffer.reserve(kBufferSize);
  for (const std::string& line : lines) {
    if (buffer.size() + line.size() + 2 > kBufferSize) {
      if (!WriteAll(fd, buffer)) return false;
      buffer.clear();
    }
    if (line.size() + 2 > kBufferSize) {
      if (!WriteAll(fd, line)) return false;
    } else {
      buffer += line;
    }
    buffer += "\r\n";
  }
  return WriteAll(fd, buffer);
}

// Writes a new file beside path through body, then renames it over path.
void ReplaceFile(const std::string& path, bool durable, const std::function<bool(int)>& body) {
  std::string tempPath;
  const int fd = CreateTemporary(path, tempPath);
  if (fd < 0) throw VelmoraError(std::strerror(errno));

  // Keep the permissions of the file being replaced.
  struct stat target {};
  bool ok = ::stat(path.c_str(), &target) != 0 || !S_ISREG(target.st_mode) ||
            ::fchmod(fd, target.st_mode & 07777) == 0;
  ok = ok && body(fd) && (!durable || ::fsync(fd) == 0);
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(tempPath.c_str(), path.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(tempPath.c_str());
    throw VelmoraError(std::strerror(error));
  }
  if (durable) SyncFolderOf(path);
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes, bool durable) {
  ReplaceFile(path, durable, [bytes](int fd) { return WriteAll(fd, bytes); });
}

void WriteLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                          bool durable) {
  ReplaceFile(path, durable, [&lines](int fd) { return WriteLines(fd, lines); });
}

}  // namespace velmora
