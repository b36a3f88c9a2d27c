#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Splits text into lines: CR, LF and CR LF each end a line, a last line without
// a line end is still a line, and the text ends at its first NUL byte.
std::vector<std::string> SplitTextLines(std::string_view content);

// Reads a whole file and splits it into lines. Throws VelmoraError with the
// system's reason when the file cannot be read.
std::vector<std::string> ReadTextLines(const std::string& path);

// Reads a whole file as it stands. Throws VelmoraError with the system's reason
// when it cannot be read, or when it is larger than maxBytes.
std::string ReadFileBytes(const std::string& path, size_t maxBytes);
// The lines, each followed by CR LF (the last one too).
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace velmora
