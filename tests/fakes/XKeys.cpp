// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Real input on the X server of DISPLAY, through XTest: the server takes it as
// it takes a keyboard's. (Apart from the rest of the tests, whose Qt names
// Xlib's macros would shadow.) Each call has a connection of its own, so that
// DISPLAY may name another server each time; closing it waits for the server.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace wd::test {

namespace { using Connection = std::unique_ptr<Display, decltype(&XCloseDisplay)>; }

bool XType(const char* keys)
{
    const Connection x(XOpenDisplay(nullptr), &XCloseDisplay);
    std::istringstream words(keys);
    for (std::string word; x && words >> word;) {
        std::vector<KeyCode> held; // in the order pressed
        std::istringstream names(word);
        for (std::string name; std::getline(names, name, '+');) {
            if (!held.emplace_back(XKeysymToKeycode(x.get(), XStringToKeysym(name.c_str())))) return false;
            XTestFakeKeyEvent(x.get(), held.back(), True, CurrentTime);
        }
        for (auto key = held.rbegin(); key != held.rend(); ++key) XTestFakeKeyEvent(x.get(), *key, False, CurrentTime);
    }
    return bool(x);
}

unsigned long XFocus()
{
    const Connection x(XOpenDisplay(nullptr), &XCloseDisplay);
    Window focus = None;
    int revert = 0;
    if (x) XGetInputFocus(x.get(), &focus, &revert);
    return x && focus != PointerRoot && focus != DefaultRootWindow(x.get()) ? focus : None;
}

} // namespace wd::test
