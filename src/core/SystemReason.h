#pragma once

#include <string>

namespace velmora {

// Why the system refused a file operation, in Greek, for the user: the common
// reasons by name, the rest by their number.
std::string SystemReason(int errorNumber);

}  // namespace velmora
