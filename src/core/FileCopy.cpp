#include "FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "FileDescriptor.h"
#include "VelmoraError.h"

namespace velmora {

namespace {

constexpr std::size_t kChunkSize = 8192;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string FileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The full destination path: a directory gets the source's file name appended.
std::string ResolveDestination(const std::string& source, const std::string& destination) {
  std::error_code error;
  std::string full = std::filesystem::absolute(destination, error).lexically_normal().string();
  if (error) return destination;
  std::string directory = full;
  while (directory.size() > 1 && IsSeparator(directory.back())) directory.pop_back();
  if (!std::filesystem::is_directory(directory, error)) return full;
  if (!IsSeparator(directory.back())) directory += '/';
  return directory + FileNameOf(source);
}

}  // namespace

void CopyFile(const std::string& source, const std::string& destination) {
  FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat sourceInfo {};
  if (!in.Valid() || ::fstat(in.Get(), &sourceInfo) != 0 || S_ISDIR(sourceInfo.st_mode)) {
    throw VelmoraError("Cannot open file " + source);
  }

  const std::string target = ResolveDestination(source, destination);
  // Truncating the source itself would lose it before it is read.
  struct stat targetInfo {};
  if (::stat(target.c_str(), &targetInfo) == 0 && targetInfo.st_dev == sourceInfo.st_dev &&
      targetInfo.st_ino == sourceInfo.st_ino) {
    throw VelmoraError("Cannot create file " + target);
  }
  FileDescriptor out(::open(target.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!out.Valid()) throw VelmoraError("Cannot create file " + target);

  char buffer[kChunkSize];
  for (;;) {
    const ssize_t count = ::read(in.Get(), buffer, kChunkSize);
    if (count < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError(errno, source);
    }
    if (!WriteAll(out.Get(), std::string_view(buffer, static_cast<std::size_t>(count))))
      ThrowSystemError(errno, target);
    if (static_cast<std::size_t>(count) < kChunkSize) break;
  }
  if (::close(out.Release()) != 0) ThrowSystemError(errno, target);
}

void SnapshotFile(const std::string& source, const std::string& destination) {
  const std::string link = destination + ".link";
  ::unlink(link.c_str());
  if (::link(source.c_str(), link.c_str()) == 0) {
    const bool renamed = ::rename(link.c_str(), destination.c_str()) == 0;
    // A rename between two names of the same file does nothing: the spare name stays.
    ::unlink(link.c_str());
    if (renamed) return;
  }
  CopyFile(source, destination);
}

}  // namespace velmora
