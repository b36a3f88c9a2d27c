#pragma once

#include <algorithm>
#include <chrono>
#include <limits>

namespace velmora {

// Wall-clock time since it was started.
class Stopwatch {
 public:
  Stopwatch() : start_(std::chrono::steady_clock::now()) {}

  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

  // The shortest of runs timings of step; prepare runs before each, untimed. The
  // shortest is the one least disturbed by whatever else the machine was doing.
  template <typename Prepare, typename Step>
  static double Best(int runs, Prepare prepare, Step step) {
    double best = std::numeric_limits<double>::infinity();
    for (int run = 0; run < runs; ++run) {
      prepare();
      const Stopwatch watch;
      step();
      best = std::min(best, watch.Seconds());
    }
    return best;
  }

  template <typename Step>
  static double Best(int runs, Step step) {
    return Best(
        runs, [] {}, step);
  }

  // The shortest timings of two steps run in turns, each after its own untimed
  // preparation: a slow spell of the machine weighs on both alike.
  struct Pair {
    double first = std::numeric_limits<double>::infinity();
    double second = std::numeric_limits<double>::infinity();
  };
  template <typename Prepare1, typename Step1, typename Prepare2, typename Step2>
  static Pair BestInTurns(int runs, Prepare1 prepare1, Step1 step1, Prepare2 prepare2,
                          Step2 step2) {
    Pair best;
    for (int run = 0; run < runs; ++run) {
      best.first = std::min(best.first, Best(1, prepare1, step1));
      best.second = std::min(best.second, Best(1, prepare2, step2));
    }
    return best;
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

}  // namespace velmora
