#pragma once

#include <cstddef>

namespace velmora {

// How far the resident memory of this process rises during an operation, from the
// kernel's high-water mark (VmHWM), which it restarts on request.
class MemoryPeak {
 public:
  // Hands freed heap pages back to the system, so that the operation cannot hide
  // its growth in memory left over from before, then restarts the high-water mark
  // at the resident size of now.
  void Start();
  // The high-water mark since Start, less the resident size at Start.
  size_t GrowthBytes() const;

 private:
  size_t startResident_ = 0;
};

}  // namespace velmora
