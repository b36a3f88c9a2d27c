#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The yardstick: a file read and written with nothing in between, the least any
// operation on its bytes must cost. Both throw std::runtime_error on failure.
std::string ReadPlainFile(const std::string& path);
// With sync, the bytes reach the disk before it returns.
void WritePlainFile(const std::string& path, std::string_view bytes, bool sync);

}  // namespace velmora
