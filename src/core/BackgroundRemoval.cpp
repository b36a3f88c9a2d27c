#include "BackgroundRemoval.h"

#include <unistd.h>

#include <cstdio>

namespace velmora {

bool BackgroundRemoval::Remove(const std::string& path, const std::string& suffix) {
  Wait();
  std::string aside = path + suffix;
  if (std::rename(path.c_str(), aside.c_str()) != 0) return false;
  worker_ = std::thread([aside = std::move(aside)] { ::unlink(aside.c_str()); });
  return true;
}

void BackgroundRemoval::Wait() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace velmora
