#include "CopyFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "AtomicFile.h"
#include "FileDescriptor.h"
#include "PrivateFolder.h"
#include "TextFile.h"
#include "VelmoraError.h"

namespace velmora {

namespace {

namespace fs = std::filesystem;

constexpr const char* kMarker = "owner";
constexpr const char* kFailedLoads = "failed-loads";
constexpr std::string_view kCopyPrefix = "copy-";

void WritePid(int fd) {
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) == 0) (void)::pwrite(fd, pid.data(), pid.size(), 0);
}

// The marker of folder, opened and locked, or -1 when another copy holds it, it
// is missing, or it was replaced while we waited for it.
int LockMarker(const std::string& folder) {
  const std::string path = folder + "/" + kMarker;
  // Not inherited by programs we start (the browser): they must not keep a dead
  // copy's folder looking alive.
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return -1;
  struct stat opened {
  }, named{};
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &opened) != 0 ||
      ::stat(path.c_str(), &named) != 0 || opened.st_ino != named.st_ino ||
      opened.st_dev != named.st_dev) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// A copy folder whose marker is missing or a link was left half-removed or
// tampered with: a fresh marker of our own makes it ours to offer or clean up.
// -1 when the marker is a real file (another copy's, or being made) or cannot be made.
int ReplaceMissingMarker(const std::string& folder) {
  const std::string path = folder + "/" + kMarker;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) {
    if (!S_ISLNK(info.st_mode) || ::unlink(path.c_str()) != 0) return -1;
  } else if (errno != ENOENT) {
    return -1;
  }
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string StateFolderFor(const char* xdgStateHome, const char* home) {
  if (xdgStateHome != nullptr && xdgStateHome[0] == '/')
    return std::string(xdgStateHome) + "/velmora";
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/state/velmora";
  return {};
}

CopyFolder CopyFolder::Create(const std::string& stateFolder) {
  std::error_code error;
  fs::create_directories(fs::path(stateFolder).parent_path(), error);
  if (::mkdir(stateFolder.c_str(), 0700) != 0 && errno != EEXIST)
    ThrowSystemError(errno, stateFolder);
  // A link or another user's folder is refused: whatever is kept in it would be theirs.
  struct stat state {};
  if (::lstat(stateFolder.c_str(), &state) != 0) ThrowSystemError(errno, stateFolder);
  if (!S_ISDIR(state.st_mode))
    ThrowSystemError(S_ISLNK(state.st_mode) ? ELOOP : ENOTDIR, stateFolder);
  if (state.st_uid != ::geteuid() || (state.st_mode & 022) != 0)
    ThrowSystemError(EPERM, stateFolder);
  // Made under a hidden name and shown only once its marker is locked, so that no
  // starting copy ever takes it for one that was left behind.
  std::string hidden = stateFolder + "/.new-XXXXXX";
  if (::mkdtemp(hidden.data()) == nullptr) ThrowSystemError(errno, stateFolder);
  const std::string marker = hidden + "/" + kMarker;
  const int fd = ::open(marker.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int reason = errno;
    if (fd >= 0) ::close(fd);
    fs::remove_all(hidden, error);
    ThrowSystemError(reason, stateFolder);
  }
  WritePid(fd);
  const std::string path =
      stateFolder + "/" + std::string(kCopyPrefix) + hidden.substr(hidden.size() - 6);
  if (::rename(hidden.c_str(), path.c_str()) != 0) {
    const int reason = errno;
    ::close(fd);
    fs::remove_all(hidden, error);
    ThrowSystemError(reason, stateFolder);
  }
  return CopyFolder(path, fd);
}

std::vector<CopyFolder> CopyFolder::ClaimAbandoned(const std::string& stateFolder) {
  std::vector<CopyFolder> claimed;
  std::error_code error;
  for (fs::directory_iterator it(stateFolder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, kCopyPrefix.size(), kCopyPrefix) != 0) continue;
    // Only a folder this user made for a copy, closed to everyone else.
    try {
      CheckPrivateFolder(it->path().string());
    } catch (const VelmoraError&) {
      continue;
    }
    int fd = LockMarker(it->path().string());
    if (fd < 0) fd = ReplaceMissingMarker(it->path().string());
    if (fd < 0) continue;
    WritePid(fd);
    claimed.push_back(CopyFolder(it->path().string(), fd));
  }
  std::vector<std::pair<std::time_t, size_t>> order;
  for (size_t i = 0; i < claimed.size(); ++i) order.emplace_back(claimed[i].LastChange(), i);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<CopyFolder> latestFirst;
  for (const auto& [time, index] : order) latestFirst.push_back(std::move(claimed[index]));
  return latestFirst;
}

CopyFolder::CopyFolder(CopyFolder&& other) noexcept
    : path_(std::move(other.path_)), marker_(std::exchange(other.marker_, -1)) {}

CopyFolder& CopyFolder::operator=(CopyFolder&& other) noexcept {
  if (this != &other) {
    Release();
    path_ = std::move(other.path_);
    marker_ = std::exchange(other.marker_, -1);
  }
  return *this;
}

CopyFolder::~CopyFolder() { Release(); }

void CopyFolder::Release() noexcept {
  if (marker_ < 0) return;
  // A working folder that still holds files keeps its marker: it is offered again
  // at the next start.
  std::error_code error;
  fs::remove(path_ + "/temp", error);
  bool onlyMarker = true;
  for (fs::directory_iterator it(path_, error), end; !error && it != end; it.increment(error))
    onlyMarker = onlyMarker && it->path().filename() == kMarker;
  if (!error && onlyMarker) {
    fs::remove(path_ + "/" + kMarker, error);
    fs::remove(path_, error);
  }
  ::close(std::exchange(marker_, -1));
}

std::time_t CopyFolder::LastChange() const {
  struct stat info {};
  std::time_t latest = 0;
  std::error_code error;
  for (fs::directory_iterator it(path_ + "/temp", error), end; !error && it != end;
       it.increment(error)) {
    if (::stat(it->path().c_str(), &info) == 0) latest = std::max(latest, info.st_mtime);
  }
  // Without working files, the folder's own time.
  if (latest == 0 && ::stat(path_.c_str(), &info) == 0) latest = info.st_mtime;
  return latest;
}

int CopyFolder::CountFailedLoad() {
  const std::string path = path_ + "/" + kFailedLoads;
  int count = 0;
  try {
    count = std::stoi(ReadFileBytes(path, 64));
  } catch (const std::exception&) {
    // None yet, or unreadable: this is the first.
  }
  ++count;
  try {
    WriteFileAtomically(path, std::to_string(count) + "\n", false);
  } catch (const std::exception&) {
    // Not kept: the folder is set aside later than it should be, nothing worse.
  }
  return count;
}

std::optional<std::string> CopyFolder::SetAside() {
  const fs::path current(path_);
  const std::string aside =
      (current.parent_path() / ("broken-" + current.filename().string())).string();
  if (::rename(path_.c_str(), aside.c_str()) != 0) return std::nullopt;
  path_ = aside;
  return aside;
}

void CopyFolder::RemoveAll() noexcept {
  if (marker_ < 0) return;
  std::error_code error;
  fs::remove_all(path_, error);
  ::close(std::exchange(marker_, -1));
}

}  // namespace velmora
