#pragma once

namespace velmora {

// The two line lists of a statement. Their rules are twins; the few differences
// are decided by this value.
enum class Side { Customers, Suppliers };

// The part of the duplicate message that names the list, up to the opening bracket
// before the obligation code.
constexpr const char* DuplicateMiddleText(Side side) {
  return side == Side::Customers
             ? " έχει εισαχθεί 2 φορές στους πελάτες με τον ίδιο κωδικό υπόχρεου ("
             : " έχει εισαχθεί 2 φορές στους προμηθευτές με τον ίδιο κωδικό υπόχρεου (";
}

}  // namespace velmora
