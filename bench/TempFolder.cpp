#include "TempFolder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace velmora {

TempFolder::TempFolder() {
  std::string pattern = "/tmp/velmora-bench-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) {
    throw std::runtime_error(std::string("cannot make a temporary folder: ") +
                             std::strerror(errno));
  }
  path_ = name.data();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace velmora
