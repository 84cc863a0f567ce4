// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Real key events on the X server of DISPLAY, through XTest: the server takes
// them as it takes a keyboard's. (Apart from the tests, whose Qt names Xlib's
// macros would shadow.)
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace wd::test {

// Presses or releases the key of an X key name ("a", "space", "Return"); false
// if there is no server or no such key.
bool XKey(const char* keysym, bool down)
{
    static Display* const x = XOpenDisplay(nullptr); // for the whole program
    const KeyCode code = x ? XKeysymToKeycode(x, XStringToKeysym(keysym)) : 0;
    if (!code) return false;
    XTestFakeKeyEvent(x, code, down ? True : False, CurrentTime);
    XFlush(x);
    return true;
}

} // namespace wd::test
