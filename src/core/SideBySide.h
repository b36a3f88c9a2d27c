#pragma once

#include <functional>

namespace velmora {

// Runs two pieces of work that share nothing at once, the second on a thread of
// its own, and returns when both are done. A failure of either is thrown here
// (the first one's when both fail).
void RunSideBySide(const std::function<void()>& first, const std::function<void()>& second);

}  // namespace velmora
