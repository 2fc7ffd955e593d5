#pragma once

#include <optional>

struct KeyboardLockState {
    bool kana = false;
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// The lock lights of the keyboard, as the X server reports them; nullopt when
// the windowing system cannot tell (another platform, or no X server).
std::optional<KeyboardLockState> queryKeyboardLocks();
