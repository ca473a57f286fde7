#pragma once

#include <optional>

namespace quillet::platform {

// The states of the Caps Lock and Num Lock keys, for the status bar.
struct LockKeyState {
    bool capsLock = false;
    bool numLock = false;
};

// Asks the display server; empty where it cannot be asked (a display
// without X11, or Qt's offscreen platform).
std::optional<LockKeyState> ReadLockKeys();

}  // namespace quillet::platform
