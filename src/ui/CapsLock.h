#pragma once

#include <optional>

namespace velmora {

// The keyboard's Caps Lock, where the desktop lets a program read and set it
// (X11 through XKB). Elsewhere (Wayland, offscreen) it cannot be reached:
// reading gives nullopt and setting does nothing.
std::optional<bool> CapsLockState();
void SetCapsLockState(bool on);

}  // namespace velmora
