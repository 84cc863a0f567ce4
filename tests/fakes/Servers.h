// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The parts of a desktop that a test starts for itself: an X server, a session
// bus, an input method, a compositor, a sound server. They run as root, with no
// display and no audio device, and every wait for them is bounded.
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>

namespace wd::test {

inline constexpr int kPatience = 20000; // ms for a server to come up on a busy machine

// Whether done() comes to hold within ms, with the event loop running. (QTRY_*
// would report to QtTest, which GoogleTest never hears from.)
bool Soon(const std::function<bool()>& done, int ms = kPatience);

// Runs a command to its end within ms: its exit code (-1 if it did not start,
// crashed or took longer) and its output, what it said on standard error too if asked.
std::pair<int, QString> Execute(const QStringList& command, bool errors = false, int ms = kPatience);

// A file's bytes; empty if it cannot be read.
QByteArray ReadFile(const QString& path);

// A part a test needs is missing: in CI (CI set) the test fails, elsewhere it is skipped.
#define WD_REQUIRE_PART(missing)                                                                                       \
    if (const QString what = (missing); !what.isEmpty()) {                                                             \
        if (qEnvironmentVariableIsSet("CI")) FAIL() << what.toStdString();                                             \
        else GTEST_SKIP() << what.toStdString();                                                                       \
    }

// Servers in one process group of their own, which ends as a whole with
// whatever they started in turn (a bus's activations, an input method's
// engines). While it lives, this process and the servers share a private
// desktop: runtime folder (mode 0700), home, config, data, cache and state
// folders of its own, and the variables set through it; each is put back when it goes.
class ServerGroup {
public:
    ServerGroup();
    ~ServerGroup();

    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    // Writes a file at Path(name), making its folder.
    void Write(const char* name, const QString& text) const;
    QByteArray Read(const char* name) const { return ReadFile(Path(name)); }
    // Sets the variable, or unsets it for nullopt, for this process and what it starts.
    void Set(const char* name, const std::optional<QString>& value);
    // Starts a server in the group, its standard output into Path(output); false if it cannot be run.
    bool Start(const QStringList& command, const char* output = "servers.log");
    // Whether a server of the group takes connections on the socket at Path(name) within the patience.
    bool Listens(const char* name) const;
    // Starts a session bus of the group's own, with no services to activate,
    // and makes it the session bus of this process.
    bool StartSessionBus();
    // Starts Xvfb on the first free display, reachable only with a cookie of its
    // own in Path("xauth"), and points DISPLAY, XAUTHORITY and Qt (xcb) at it.
    bool StartX();
    // Sends every process of the group the signal (SIGSTOP stalls them, SIGCONT lets them go on).
    void Signal(int signal) const { if (group_) kill(-group_, signal); }
    // Ends every process of the group within a bounded wait; true once none is left.
    bool End();
    QString Log() const { return QString::fromUtf8(Read("servers.log").right(4000)); } // for a failure message

private:
    QTemporaryDir dir_;
    std::vector<std::unique_ptr<QProcess>> servers_;
    pid_t group_ = 0;
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_; // variables as they were
};

// The main of a test program whose tests need servers: `start` starts them
// and says what is missing (empty once all are up); then the application and
// the tests run, and the servers end. With a part missing no test runs: in CI
// the program fails, elsewhere its tests are skipped.
int RunWithServers(int argc, char** argv, const std::function<QString(ServerGroup&)>& start);

// Real input on the X server of DISPLAY, through XTest, as a keyboard gives it
// (XKeys.cpp): each of the X key names ("z h o n g space Return"; "Alt_L+q" held
// together) pressed, then released. False if there is no server or no such key.
bool XType(const char* keys);
// The window that has the keyboard; 0 for none, or the screen itself.
unsigned long XFocus();

} // namespace wd::test
