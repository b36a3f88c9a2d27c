#include "AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <random>
#include <string_view>
#include <utility>

#include "FileDescriptor.h"
#include "VelmoraError.h"

namespace velmora {

namespace {

// Temporary files are named ".<target>.velmora-tmp-<pid>-<six letters>": hidden,
// recognisable, and telling which process made them.
constexpr std::string_view kTemporaryTag = ".velmora-tmp-";
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kRandomLetters = 6;

// The folder of path with its slash ("./" for a bare name), and the name in it.
std::pair<std::string, std::string> SplitFolder(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return {"./", path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The file a chain of symbolic links at path ends in, so that saving over a link
// replaces its target and the link stays a link, as text editors do. A link that
// points nowhere gives the path it points to, which the save then creates.
std::string FinalPath(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::string target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
    const ssize_t size = ::readlink(current.c_str(), target.data(), target.size());
    if (size < 0) ThrowSystemError(errno);
    if (static_cast<size_t>(size) == target.size()) ThrowSystemError(ENAMETOOLONG);
    target.resize(static_cast<size_t>(size));
    current = target.front() == '/' ? target : SplitFolder(current).first + target;
  }
  ThrowSystemError(ELOOP);
}

// The process id in a temporary file's name, or 0 when the name is not one of ours.
pid_t OwnerOfTemporary(std::string_view name) {
  const auto tag = name.rfind(kTemporaryTag);
  if (name.empty() || name.front() != '.' || tag == std::string_view::npos) return 0;
  std::string_view rest = name.substr(tag + kTemporaryTag.size());
  const auto dash = rest.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash > 9 ||
      rest.size() != dash + 1 + kRandomLetters)
    return 0;
  pid_t pid = 0;
  for (const char c : rest.substr(0, dash)) {
    if (c < '0' || c > '9') return 0;
    pid = pid * 10 + (c - '0');
  }
  for (const char c : rest.substr(dash + 1)) {
    if (std::string_view(kLetters).find(c) == std::string_view::npos) return 0;
  }
  return pid;
}

// Removes the temporary files that saves killed half-way left in folder: those
// whose process is gone, and those older than a day whatever their number says
// (a process id is used again in time). A running copy's save is never disturbed.
void RemoveStaleTemporaries(const std::string& folder) {
  DIR* const dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t owner = OwnerOfTemporary(entry->d_name);
    if (owner <= 0 || owner == self) continue;
    struct stat info {};
    const bool stale = ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                       info.st_mtime < ::time(nullptr) - 24 * 60 * 60;
    if (!stale && (::kill(owner, 0) == 0 || errno != ESRCH)) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// A fresh file beside path, created with the usual permissions (mkstemp would
// make it private to the owner, and the rename would pass that on to the target).
int CreateTemporary(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  const pid_t self = ::getpid();
  std::random_device device;
  std::minstd_rand random(device() ^ static_cast<unsigned>(self) ^ counter++);
  const auto [folder, name] = SplitFolder(path);
  const std::string prefix =
      folder + "." + name + std::string(kTemporaryTag) + std::to_string(self) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = prefix;
    for (int i = 0; i < kRandomLetters; ++i) tempPath += kLetters[random() % (sizeof kLetters - 1)];
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Makes the rename itself survive a crash; the new file is complete either way.
void SyncFolderOf(const std::string& path) {
  const std::string folder = SplitFolder(path).first;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

constexpr size_t kLinesBufferSize = 1 << 18;

// Adds a line and its CR LF to buffer, writing the buffer out when it is full.
bool BufferLine(int fd, std::string& buffer, const std::string& line) {
  if (buffer.size() + line.size() + 2 > kLinesBufferSize) {
    if (!WriteAll(fd, buffer)) return false;
    buffer.clear();
  }
  if (line.size() + 2 > kLinesBufferSize) {
    if (!WriteAll(fd, line)) return false;
  } else {
    buffer += line;
  }
  buffer += "\r\n";
  return true;
}

// Streams lines with their CR LF through one buffer, so that no copy of the
// whole text is ever made. lineAt(i) gives the i-th of count lines.
template <typename LineAt>
bool WriteLines(int fd, std::size_t count, const LineAt& lineAt) {
  std::string buffer;
  buffer.reserve(kLinesBufferSize);
  for (std::size_t i = 0; i < count; ++i) {
    if (!BufferLine(fd, buffer, lineAt(i))) return false;
  }
  return WriteAll(fd, buffer);
}

// Writes a new file beside path through body, given the new file open and its
// name, then renames it over path.
void ReplaceFile(const std::string& givenPath, bool durable,
                 const std::function<bool(int fd, const std::string& name)>& body) {
  const std::string path = FinalPath(givenPath);
  RemoveStaleTemporaries(SplitFolder(path).first);
  std::string tempPath;
  const int fd = CreateTemporary(path, tempPath);
  if (fd < 0) ThrowSystemError(errno);

  // Keep the permissions of the file being replaced.
  struct stat target {};
  bool ok = ::stat(path.c_str(), &target) != 0 || !S_ISREG(target.st_mode) ||
            ::fchmod(fd, target.st_mode & 07777) == 0;
  int error = 0;
  try {
    ok = ok && body(fd, tempPath) && (!durable || ::fsync(fd) == 0);
    error = ok ? 0 : errno;
  } catch (...) {
    ::close(fd);
    ::unlink(tempPath.c_str());
    throw;
  }
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
    ThrowSystemError(error);
  }
  if (durable) SyncFolderOf(path);
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes, bool durable) {
  ReplaceFile(path, durable, [bytes](int fd, const std::string&) { return WriteAll(fd, bytes); });
}

void WriteFileAtomicallyByName(const std::string& path, bool durable,
                               const std::function<void(const std::string&)>& write) {
  // The library opens the name and truncates the same file: the descriptor held
  // here still reaches what it wrote, for the flush to disk.
  ReplaceFile(path, durable, [&write](int, const std::string& name) {
    write(name);
    return true;
  });
}

void WriteLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                          bool durable) {
  ReplaceFile(path, durable, [&lines](int fd, const std::string&) {
    return WriteLines(fd, lines.size(),
                      [&lines](std::size_t i) -> const std::string& { return lines[i]; });
  });
}

void WriteLinesAtomically(const std::string& path, const std::vector<std::string>& first,
                          const std::vector<std::string>& then, bool durable) {
  ReplaceFile(path, durable, [&first, &then](int fd, const std::string&) {
    return WriteLines(fd, first.size() + then.size(),
                      [&first, &then](std::size_t i) -> const std::string& {
                        return i < first.size() ? first[i] : then[i - first.size()];
                      });
  });
}

void WriteLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                          std::span<const std::size_t> order, bool durable) {
  ReplaceFile(path, durable, [&lines, order](int fd, const std::string&) {
    return WriteLines(fd, order.size(), [&lines, order](std::size_t i) -> const std::string& {
      // Lines taken out of their order lie scattered in memory: their places are
      // asked for well before their bytes are needed.
      constexpr std::size_t kAhead = 8;
      if (i + 2 * kAhead < order.size()) __builtin_prefetch(&lines[order[i + 2 * kAhead]]);
      if (i + kAhead < order.size()) {
        const std::string& coming = lines[order[i + kAhead]];
        for (std::size_t at = 0; at < coming.size(); at += 64)
          __builtin_prefetch(coming.data() + at);
      }
      return lines[order[i]];
    });
  });
}

LinesFileWriter::LinesFileWriter(const std::string& path, const std::vector<std::string>& first,
                                 const std::vector<std::string>& then, bool durable)
    : first_(first), then_(then.data()) {
  writing_ = std::thread([this, path, durable] {
    try {
      ReplaceFile(path, durable, [this](int fd, const std::string&) { return WriteThen(fd); });
    } catch (...) {
      failure_ = std::current_exception();
    }
  });
}

LinesFileWriter::~LinesFileWriter() {
  if (!writing_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    state_ = State::Abandoned;
  }
  changed_.notify_one();
  writing_.join();
}

bool LinesFileWriter::WriteThen(int fd) {
  std::string buffer;
  buffer.reserve(kLinesBufferSize);
  for (const std::string& line : first_) {
    if (!BufferLine(fd, buffer, line)) return false;
  }
  std::size_t written = 0;
  while (true) {
    std::size_t published = 0;
    State state = State::Open;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return published_ > written || state_ != State::Open; });
      published = published_;
      state = state_;
    }
    if (state == State::Abandoned) {
      errno = ECANCELED;
      return false;
    }
    for (; written < published; ++written) {
      if (!BufferLine(fd, buffer, then_[written])) return false;
    }
    if (state == State::Finished) return WriteAll(fd, buffer);
  }
}

void LinesFileWriter::Publish(std::size_t count) {
  {
    const std::lock_guard lock(mutex_);
    published_ = count;
  }
  changed_.notify_one();
}

void LinesFileWriter::Finish(std::size_t count) {
  {
    const std::lock_guard lock(mutex_);
    published_ = count;
    state_ = State::Finished;
  }
  changed_.notify_one();
  writing_.join();
  if (failure_) std::rethrow_exception(failure_);
}

}  // namespace velmora
