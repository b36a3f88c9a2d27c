#pragma once

#include <cstddef>
#include <future>
#include <system_error>
#include <thread>

namespace velmora {

// Calls work(begin, end) on the two halves of 0..count: the first half here, the
// second on a thread of its own when there are enough items to be worth one and a
// thread to be had; otherwise work(0, count) here.
template <typename Work>
void InTwoHalves(std::size_t count, const Work& work) {
  constexpr std::size_t kWorthAThread = 8192;
  if (count < kWorthAThread || std::thread::hardware_concurrency() < 2) return work(0, count);
  const std::size_t half = count / 2;
  std::future<void> second;
  try {
    second = std::async(std::launch::async, [&work, half, count] { work(half, count); });
  } catch (const std::system_error&) {
    return work(0, count);
  }
  work(0, half);
  second.get();
}

}  // namespace velmora
