// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// An X server of the test's own (Xvfb, scripts/setup.sh installs it and xauth).
#include <string>

#include <sys/types.h>

namespace wd::test {

// Starts Xvfb on the first free display, reachable only with a cookie of its
// own in the file auth (the server takes every cookie there, whatever display
// it names), and points DISPLAY and XAUTHORITY at it; its pid, or -1. It ends
// with the test program at the latest.
pid_t StartXServer(const std::string& auth, int patienceMs = 20000);

} // namespace wd::test
