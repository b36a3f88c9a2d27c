#include "TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>

#include "FileDescriptor.h"
#include "VelmoraError.h"

namespace velmora {

namespace {

// Splits text that arrives in pieces, so that a large file is never held twice.
class LineSplitter {
 public:
  void Feed(std::string_view text) {
    if (ended_) return;
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
      text = text.substr(0, nul);
      ended_ = true;
    }
    if (text.empty()) return;
    // A CR LF may be cut between two pieces.
    if (afterCr_ && text.front() == '\n') text.remove_prefix(1);
    afterCr_ = false;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
      const char* q = p;
      while (q < end && *q != '\n' && *q != '\r') ++q;
      if (q == end) {
        open_.append(p, q);
        return;
      }
      if (open_.empty()) {
        lines_.emplace_back(p, q);
      } else {
        lines_.push_back(std::move(open_.append(p, q)));
        open_.clear();
      }
      if (*q == '\r') {
        if (q + 1 == end) afterCr_ = true;
        if (q + 1 < end && q[1] == '\n') ++q;
      }
      p = q + 1;
    }
  }

  // A last line without a line end is still a line.
  std::vector<std::string> Finish() {
    if (!open_.empty()) lines_.push_back(std::move(open_));
    return std::move(lines_);
  }

 private:
  std::vector<std::string> lines_;
  std::string open_;  // the start of a line whose end has not arrived yet
  bool afterCr_ = false;
  bool ended_ = false;
};

constexpr const char* kFolderNotFile = "Είναι φάκελος, όχι αρχείο";
constexpr const char* kNotRegularFile = "Δεν είναι κανονικό αρχείο (συσκευή, σωλήνωση ή υποδοχή)";
constexpr const char* kFileTooLarge = "Το αρχείο είναι πολύ μεγάλο";

// A regular file open for reading, closed however the reading ends. It is opened
// without blocking, so that a pipe with no writer or a device never holds the
// program; anything but a regular file is refused before a byte is read.
struct ReadOnlyFile {
  explicit ReadOnlyFile(const std::string& path)
      : fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {
    if (fd < 0) ThrowSystemError(errno);
    try {
      if (::fstat(fd, &status) != 0) ThrowSystemError(errno);
      if (S_ISDIR(status.st_mode)) throw VelmoraError(kFolderNotFile);
      if (!S_ISREG(status.st_mode)) throw VelmoraError(kNotRegularFile);
      const int flags = ::fcntl(fd, F_GETFL);
      if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) ThrowSystemError(errno);
    } catch (...) {
      ::close(fd);
      throw;
    }
  }
  ~ReadOnlyFile() { ::close(fd); }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  const int fd;
  struct stat status {};
};

// Hands the file to take() block by block.
void ReadInBlocks(const std::string& path, const std::function<void(std::string_view)>& take) {
  const ReadOnlyFile file(path);
  const int fd = file.fd;
  char block[65536];
  for (;;) {
    const ssize_t got = ::read(fd, block, sizeof block);
    if (got == 0) return;
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError(errno);
    }
    take(std::string_view(block, static_cast<size_t>(got)));
  }
}

}  // namespace

std::vector<std::string> SplitTextLines(std::string_view content) {
  LineSplitter splitter;
  splitter.Feed(content);
  return splitter.Finish();
}

std::vector<std::string> ReadTextLines(const std::string& path) {
  LineSplitter splitter;
  ReadInBlocks(path, [&](std::string_view block) { splitter.Feed(block); });
  return splitter.Finish();
}

std::string ReadFileBytes(const std::string& path, size_t maxBytes) {
  const ReadOnlyFile file(path);
  const int fd = file.fd;
  const struct stat& status = file.status;
  if (static_cast<uint64_t>(status.st_size) > maxBytes) throw FileTooLargeError(kFileTooLarge);
  // Read straight into a buffer of the file's size; one more byte shows whether
  // the file grew meanwhile.
  std::string bytes(static_cast<size_t>(status.st_size) + 1, '\0');
  size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (bytes.size() > maxBytes) throw FileTooLargeError(kFileTooLarge);
      // Room for one byte beyond the limit, so that crossing it is seen.
      bytes.resize(bytes.size() + std::min(bytes.size(), maxBytes - bytes.size() + 1));
    }
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError(errno);
    }
    done += static_cast<size_t>(got);
  }
  if (done > maxBytes) throw FileTooLargeError(kFileTooLarge);
  bytes.resize(done);
  return bytes;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace velmora
