#pragma once

namespace velmora {

// The two line lists of a statement. Their rules are twins; the few differences
// are decided by this value.
enum class Side { Customers, Suppliers };

// The place of a side in what is kept for each of the two: customers first.
constexpr int SideIndex(Side side) { return side == Side::Customers ? 0 : 1; }

// Whose lines a message speaks of: "των πελατών" or "των προμηθευτών".
constexpr const char* SideGenitive(Side side) {
  return side == Side::Customers ? "των πελατών" : "των προμηθευτών";
}

}  // namespace velmora
