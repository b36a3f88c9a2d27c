#include "MemoryPeak.h"

#include <malloc.h>

#include <fstream>
#include <stdexcept>
#include <string>

namespace velmora {

namespace {

// A "Name:   123 kB" line of /proc/self/status, in bytes.
size_t StatusBytes(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, name.size() + 1, name + ":") == 0) {
      return std::stoul(line.substr(name.size() + 1)) * 1024;
    }
  }
  throw std::runtime_error("/proc/self/status has no " + name);
}

}  // namespace

void MemoryPeak::Start() {
  ::malloc_trim(0);
  // "5" restarts the high-water mark at the present resident size.
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.close();
  if (!clear) throw std::runtime_error("cannot restart the memory high-water mark");
  startResident_ = StatusBytes("VmRSS");
}

size_t MemoryPeak::GrowthBytes() const {
  const size_t peak = StatusBytes("VmHWM");
  return peak > startResident_ ? peak - startResident_ : 0;
}

}  // namespace velmora
