#pragma once

#include <string>
#include <thread>

namespace velmora {

// Deletes a file on a thread of its own: giving back the space of a large file
// takes a while, and nobody needs to wait for it. One deletion at a time; the
// next one, Wait() and the destructor wait for the one under way.
class BackgroundRemoval {
 public:
  BackgroundRemoval() = default;
  ~BackgroundRemoval() { Wait(); }
  BackgroundRemoval(const BackgroundRemoval&) = delete;
  BackgroundRemoval& operator=(const BackgroundRemoval&) = delete;

  // Moves path out of the way at once (under path + suffix) and deletes it
  // later; false, and nothing done, when it cannot be moved.
  bool Remove(const std::string& path, const std::string& suffix);
  void Wait();

 private:
  std::thread worker_;
};

}  // namespace velmora
