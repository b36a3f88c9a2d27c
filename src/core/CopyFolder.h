#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// Where copies of the program keep their working folders: "$XDG_STATE_HOME/velmora",
// or "<home>/.local/state/velmora" when that variable is unset or not absolute.
// Empty when neither is known. Kept there, a statement outlives a crash and a reboot.
std::string StateFolderFor(const char* xdgStateHome, const char* home);

// The folder of one running copy, "copy-XXXXXX" in the state folder: its working
// files live in it. A marker file inside, "owner", holds the copy's process id and
// stays locked for as long as the copy runs. The kernel lets the lock go however
// the copy ends, a crash included, so a folder whose marker can be locked is one
// that nobody runs on any more.
class CopyFolder {
 public:
  // Makes and locks a new folder for this copy (and the state folder when it is
  // missing). Throws VelmoraError with the system's reason.
  static CopyFolder Create(const std::string& stateFolder);
  // The folders left behind by copies that ended without closing, each now locked
  // by this copy so that no other copy takes it too; the latest changed first.
  static std::vector<CopyFolder> ClaimAbandoned(const std::string& stateFolder);

  CopyFolder(CopyFolder&& other) noexcept;
  CopyFolder& operator=(CopyFolder&& other) noexcept;
  CopyFolder(const CopyFolder&) = delete;
  CopyFolder& operator=(const CopyFolder&) = delete;
  // Lets the lock go; the folder goes too when nothing but the marker is left.
  ~CopyFolder();

  const std::string& Path() const { return path_; }
  // When anything in the folder's working files last changed.
  std::time_t LastChange() const;
  // Deletes the folder with everything in it.
  void RemoveAll() noexcept;
  // Notes in the folder that loading its statement failed once more; returns how
  // many times it has failed so far.
  int CountFailedLoad();
  // Renames the folder "broken-<name>", where no start looks for statements to
  // offer; the new path, or nullopt when it could not be renamed.
  std::optional<std::string> SetAside();

 private:
  CopyFolder(std::string path, int marker) : path_(std::move(path)), marker_(marker) {}
  void Release() noexcept;

  std::string path_;
  int marker_ = -1;
};

}  // namespace velmora
