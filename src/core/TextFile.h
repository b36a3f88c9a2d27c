#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "VelmoraError.h"

namespace velmora {

// A file refused for its size before it was read whole.
class FileTooLargeError : public VelmoraError {
 public:
  using VelmoraError::VelmoraError;
};

// Splits text into lines: CR, LF and CR LF each end a line, a last line without
// a line end is still a line, and the text ends at its first NUL byte.
std::vector<std::string> SplitTextLines(std::string_view content);

// Reads a whole file and splits it into lines. Throws VelmoraError with the
// system's reason when the file cannot be read, and with a Greek reason at once,
// without waiting on it, when it is a folder, a pipe, a device or a socket.
std::vector<std::string> ReadTextLines(const std::string& path);

// Reads a whole file as it stands. Throws VelmoraError as ReadTextLines does, and
// FileTooLargeError (Greek reason) when it is larger than maxBytes, before reading
// it when its size shows it.
std::string ReadFileBytes(const std::string& path, size_t maxBytes);
// The lines, each followed by CR LF (the last one too).
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace velmora
