#pragma once

namespace velmora {

// The two line lists of a statement. Their rules are twins; the few differences
// are decided by this value.
enum class Side { Customers, Suppliers };

}  // namespace velmora
