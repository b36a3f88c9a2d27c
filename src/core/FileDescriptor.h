#pragma once

#include <string>
#include <string_view>

namespace velmora {

// An open file descriptor, closed on every way out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Gives the descriptor up, for a close whose failure the caller reports.
  int Release();

 private:
  int fd_;
};

// Writes every byte, going on after a signal; false with errno set on failure.
bool WriteAll(int fd, std::string_view bytes);

// Throws VelmoraError with the system's reason in Greek.
[[noreturn]] void ThrowSystemError(int error);
// The same, naming the file.
[[noreturn]] void ThrowSystemError(int error, const std::string& path);

}  // namespace velmora
