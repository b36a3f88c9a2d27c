#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace velmora {

// Replaces the file at path with bytes: they are written to a new file in the
// same folder, which is then renamed over the target, so that a reader sees the
// old file or the new one, never a part. With durable, the data reach the disk
// before the rename. On failure the target is left as it was and VelmoraError
// carries the system's reason.
// A symbolic link at path (or a chain of them) is followed: its final target is
// replaced and the link stays. The temporary file is ".<name>.velmora-tmp-<pid>-
// <6 letters>" in the target's folder; before each write, such files in that folder
// whose process no longer exists (left by a killed save) are removed.
void WriteFileAtomically(const std::string& path, std::string_view bytes, bool durable);
// The same for a file that a library writes by its name: write(name) makes the
// new file whole at that name beside path, or throws (the target stays).
void WriteFileAtomicallyByName(const std::string& path, bool durable,
                               const std::function<void(const std::string& name)>& write);
// The same for lines, each followed by CR LF (the last one too), without
// building the whole text first.
void WriteLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                          bool durable);
// The same for the lines of first followed by those of then.
void WriteLinesAtomically(const std::string& path, const std::vector<std::string>& first,
                          const std::vector<std::string>& then, bool durable);
// The same for lines taken in the given order: lines[order[0]] first, and so on.
void WriteLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                          std::span<const std::size_t> order, bool durable);

// The same for the lines of first followed by lines that are still being made: a
// thread of its own writes them as the caller hands them over with Publish, and
// Finish ends and renames the file. Until Finish returns, path is as it was; an
// object destroyed unfinished (a cancelled command) leaves it so and throws nothing.
class LinesFileWriter {
 public:
  // then must keep its room while the file is written: reserve it first.
  LinesFileWriter(const std::string& path, const std::vector<std::string>& first,
                  const std::vector<std::string>& then, bool durable);
  LinesFileWriter(const LinesFileWriter&) = delete;
  LinesFileWriter& operator=(const LinesFileWriter&) = delete;
  ~LinesFileWriter();

  // then[0] to then[count - 1] are whole and will not change.
  void Publish(std::size_t count);
  // Writes then up to count (no fewer than were published) and puts the file in
  // place; throws VelmoraError as WriteLinesAtomically does.
  void Finish(std::size_t count);

 private:
  enum class State { Open, Finished, Abandoned };
  bool WriteThen(int fd);

  const std::vector<std::string>& first_;
  const std::string* then_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t published_ = 0;
  State state_ = State::Open;
  std::exception_ptr failure_;
  std::thread writing_;
};

}  // namespace velmora
