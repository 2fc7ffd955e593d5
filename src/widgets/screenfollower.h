#pragma once

#include <functional>

class QWidget;

// Calls `changed` when the shown top-level `window` goes to another screen,
// and when the available area or the logical dots per inch of the screen it
// is on change (a panel added, a resolution or scale changed). Sizes kept in
// logical pixels that depend on the screen, such as a minimum size cut to
// it, follow that way. Call it once the window has been shown; a second call
// for the same window does nothing.
void followWindowScreen(QWidget *window, std::function<void()> changed);
