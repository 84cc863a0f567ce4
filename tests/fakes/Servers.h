// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The parts of a desktop that a test starts for itself: an X server, a session
// bus, an input method, a compositor, a sound server. They run as root, with no
// display and no audio device, and every wait for them is bounded.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>

namespace wd::test {

inline constexpr int kPatience = 20000; // ms for a server to come up on a busy machine

// Whether done() comes to hold within ms, with the event loop running. (QTRY_*
// would report to QtTest, which GoogleTest never hears from.)
bool Soon(const std::function<bool()>& done, int ms = kPatience);

// A part a test needs is missing: in CI (CI set) the test fails, elsewhere it is skipped.
#define WD_REQUIRE_PART(missing)                                                                                       \
    if (const QString what = (missing); !what.isEmpty()) {                                                             \
        if (qEnvironmentVariableIsSet("CI")) FAIL() << what.toStdString();                                             \
        else GTEST_SKIP() << what.toStdString();                                                                       \
    }

// Starts Xvfb on the first free display, reachable only with a cookie of its
// own in the file auth (the server takes every cookie there, whatever display
// it names), and points DISPLAY and XAUTHORITY at it; its pid, or -1. It ends
// with this program.
pid_t StartXServer(const std::string& auth);

// Variables of this process's environment set for a while: each is put back
// as it was when this goes.
class Environment {
public:
    Environment() = default;
    ~Environment();
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;
    // Sets the variable, or unsets it for nullopt, for this process and what it starts.
    void Set(const char* name, const std::optional<QString>& value);

private:
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};

// Servers in one process group of their own, which ends as a whole with
// whatever they started in turn (a bus's activations, an input method's
// engines). While it lives, this process and the servers share a private
// desktop: runtime folder (mode 0700), home, config, data, cache and state
// folders of its own.
class ServerGroup : public Environment {
public:
    ServerGroup();
    ~ServerGroup() { End(); }

    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    // Writes a file at Path(name), making its folder.
    void Write(const char* name, const QString& text) const;
    // Starts a server in the group, its output into the group's log; false if
    // it cannot be run.
    bool Start(const QStringList& command);
    // Whether a server of the group takes connections on the socket at Path(name) within the patience.
    bool Listens(const char* name) const;
    // Runs a command to its end within the patience; its standard output if it exited 0.
    static std::optional<QByteArray> Run(const QStringList& command);
    // Starts a session bus of the group's own, with no services to activate,
    // and makes it the session bus of this process.
    bool StartSessionBus();
    // Sends every process of the group the signal (SIGSTOP stalls them, SIGCONT lets them go on).
    void Signal(int signal) const;
    // Ends every process of the group within a bounded wait; true once none is left.
    bool End();
    // What the servers printed, for a failure message.
    QString Log() const;

private:
    QTemporaryDir dir_;
    std::vector<std::unique_ptr<QProcess>> servers_;
    pid_t group_ = 0;
};

// The main of a test program whose tests need servers: `start` starts them
// and says what is missing (empty once all are up); then the application and
// the tests run, and the servers end. Each test begins with
// WD_REQUIRE_PART(MissingServers()).
int RunWithServers(int argc, char** argv, const std::function<QString(ServerGroup&)>& start);
const QString& MissingServers();

} // namespace wd::test
