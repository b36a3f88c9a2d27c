#pragma once

namespace velmora {

class WaitBox;

// The wait cursor and the wait box for as long as a long command writes, and
// both gone again however the command ends.
class BusyIndicator {
 public:
  explicit BusyIndicator(WaitBox* box);
  ~BusyIndicator();
  BusyIndicator(const BusyIndicator&) = delete;
  BusyIndicator& operator=(const BusyIndicator&) = delete;
  void Stop();

 private:
  WaitBox* box_;
  bool running_ = true;
};

}  // namespace velmora
