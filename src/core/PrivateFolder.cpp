#include "PrivateFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "FileDescriptor.h"
#include "VelmoraError.h"

namespace velmora {

void CheckPrivateFolder(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) ThrowSystemError(errno, path);
  if (S_ISLNK(info.st_mode)) ThrowSystemError(ELOOP, path);
  if (!S_ISDIR(info.st_mode)) ThrowSystemError(ENOTDIR, path);
  // Another user's folder, or one that others may enter, could be read or
  // changed under us whatever we check later.
  if (info.st_uid != ::geteuid() || (info.st_mode & 0777) != 0700) ThrowSystemError(EPERM, path);
}

std::string MakePrivateFallbackFolder(const char* runtimeFolder, const std::string& tempFolder) {
  if (runtimeFolder != nullptr && runtimeFolder[0] == '/') {
    const std::string folder = std::string(runtimeFolder) + "/velmora";
    if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) {
      try {
        CheckPrivateFolder(folder);
        return folder;
      } catch (const VelmoraError&) {
        // Not ours to use: a fresh folder of our own instead.
      }
    }
  }
  std::string fresh = (tempFolder.empty() ? std::string("/tmp") : tempFolder) + "/velmora-XXXXXX";
  if (::mkdtemp(fresh.data()) == nullptr) ThrowSystemError(errno, tempFolder);
  return fresh;
}

}  // namespace velmora
