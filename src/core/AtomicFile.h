#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
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

}  // namespace velmora
