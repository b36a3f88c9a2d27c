#include "SideBySide.h"

#include <exception>
#include <thread>

namespace velmora {

void RunSideBySide(const std::function<void()>& first, const std::function<void()>& second) {
  std::exception_ptr secondFailure;
  std::thread other([&] {
    try {
      second();
    } catch (...) {
      secondFailure = std::current_exception();
    }
  });
  try {
    first();
  } catch (...) {
    other.join();
    throw;
  }
  other.join();
  if (secondFailure) std::rethrow_exception(secondFailure);
}

}  // namespace velmora
