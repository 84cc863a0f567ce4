// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The parts of a desktop that a test starts for itself: an X server, a session
// bus, an input method, a compositor, a sound server. They run as root, with no
// display and no audio device, and every wait for them is bounded.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>

namespace wd::test {

inline constexpr int kPatience = 20000; // ms for a server to come up on a busy machine

// Whether done() comes to hold within ms, with the event loop running. (QTRY_*
// would report to QtTest, which GoogleTest never hears from.)
bool Soon(const std::function<bool()>& done, int ms = kPatience);

// A part a test needs is missing: in CI (CI set) the test fails, elsewhere it is skipped.
#define WD_REQUIRE_PART(present, what)                                                                                 \
    if (!(present)) {                                                                                                  \
        if (qEnvironmentVariableIsSet("CI")) FAIL() << (what);                                                         \
        else GTEST_SKIP() << (what);                                                                                   \
    }

// Starts Xvfb on the first free display, reachable only with a cookie of its
// own in the file auth (the server takes every cookie there, whatever display
// it names), and points DISPLAY and XAUTHORITY at it; its pid, or -1. It ends
// with this program.
pid_t StartXServer(const std::string& auth);

// Servers in one process group of their own, which ends as a whole with
// whatever they started in turn (a bus's activations, an input method's
// engines). While it lives, this process and the servers share a private
// desktop: runtime folder (mode 0700), home, config, data, cache and state
// folders of its own; the environment is put back when it goes.
class ServerGroup {
public:
    ServerGroup();
    ~ServerGroup();
    ServerGroup(const ServerGroup&) = delete;
    ServerGroup& operator=(const ServerGroup&) = delete;

    QString Path(const QString& name) const { return dir_.filePath(name); }
    // Points a variable at a value for this process and the servers started later.
    void Set(const char* name, const std::optional<QByteArray>& value);
    // Starts a server in the group, its output into the group's log; false if
    // it cannot be run.
    bool Start(const QStringList& command);
    // Runs a command to its end within the patience; its standard output if it exited 0.
    static std::optional<QByteArray> Run(const QStringList& command);
    // Starts a session bus of the group's own, with no services to activate,
    // and makes it the session bus of this process.
    bool StartSessionBus();
    // Ends every process of the group within a bounded wait; true once none is left.
    bool End();
    // What the servers printed, for a failure message.
    QString Log() const;

private:
    QTemporaryDir dir_;
    pid_t group_ = 0;
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};

} // namespace wd::test
