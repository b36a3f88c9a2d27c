#include "CapsLock.h"

#include <QtGui/qguiapplication_platform.h>

#include <QGuiApplication>

// Last: X11 defines macros (None, Bool, Status) that Qt's headers also use.
#include <X11/XKBlib.h>

namespace velmora {

namespace {

Display* X11Display() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->display() : nullptr;
}

}  // namespace

std::optional<bool> CapsLockState() {
  Display* display = X11Display();
  if (!display) return std::nullopt;
  XkbStateRec state;
  if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
  return (state.locked_mods & LockMask) != 0;
}

void SetCapsLockState(bool on) {
  Display* display = X11Display();
  if (!display) return;
  XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
  XFlush(display);
}

}  // namespace velmora
