#include "app/keyboardlocks.h"

#include <QGuiApplication>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
// Xlib defines macros (None, Bool, Status, ...) that clash with Qt's names;
// it comes last and stays in this file.
#include <X11/XKBlib.h>
#endif

std::optional<KeyboardLockState> queryKeyboardLocks()
{
#if QT_CONFIG(xcb)
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;

    // Indicators are looked up by name: their numbers differ between
    // keyboard maps, and a map without a kana light simply leaves it off.
    auto lit = [display](const char *name) {
        const Atom atom = XInternAtom(display, name, True);
        if (atom == 0)
            return false;
        Bool on = False;
        if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
            return false;
        return on != False;
    };
    KeyboardLockState state;
    state.kana = lit("Kana");
    state.caps = lit("Caps Lock");
    state.num = lit("Num Lock");
    state.scroll = lit("Scroll Lock");
    return state;
#else
    return std::nullopt;
#endif
}
