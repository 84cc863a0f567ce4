// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/Servers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTest>
#include <QUuid>

#include <sys/prctl.h>
#include <unistd.h>

namespace wd::test {

bool Soon(const std::function<bool()>& done, int ms) { return QTest::qWaitFor(done, ms); }

std::pair<int, QString> Execute(const QStringList& command, bool errors, int ms)
{
    QProcess p; // its destructor ends one still running
    errors ? p.setProcessChannelMode(QProcess::MergedChannels) : p.setStandardErrorFile(QProcess::nullDevice());
    p.start(command.first(), command.mid(1));
    const bool ran = p.waitForFinished(ms) && p.exitStatus() == QProcess::NormalExit;
    return {ran ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput())};
}

ServerGroup::ServerGroup()
{
    for (const auto& [name, folder] : {std::pair{"XDG_RUNTIME_DIR", "runtime"}, {"HOME", "home"}, {"XDG_CONFIG_HOME", "config"},
                                       {"XDG_DATA_HOME", "data"}, {"XDG_CACHE_HOME", "cache"}, {"XDG_STATE_HOME", "state"}}) {
        QDir().mkpath(Path(folder));
        Set(name, Path(folder));
    }
    QFile::setPermissions(Path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

ServerGroup::~ServerGroup()
{
    End();
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) it->second ? qputenv(it->first, *it->second) : qunsetenv(it->first);
}

void ServerGroup::Write(const char* name, const QString& text) const
{
    QDir().mkpath(QFileInfo(Path(name)).path());
    QFile file(Path(name));
    if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ServerGroup::Set(const char* name, const std::optional<QString>& value)
{
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    value ? qputenv(name, value->toUtf8()) : qunsetenv(name);
}

bool ServerGroup::Start(const QStringList& command, const char* output)
{
    QProcess& server = *servers_.emplace_back(std::make_unique<QProcess>());
    server.setStandardInputFile(QProcess::nullDevice());
    server.setStandardOutputFile(Path(output), QIODevice::Append);
    server.setStandardErrorFile(Path("servers.log"), QIODevice::Append);
    server.setChildProcessModifier([group = group_] {
        setpgid(0, group); // the first server's pid is the group's
        prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    server.start(command.first(), command.mid(1));
    if (!server.waitForStarted(kPatience)) return false;
    if (!group_) group_ = pid_t(server.processId());
    return true;
}

bool ServerGroup::Listens(const char* name) const
{
    return Soon([&] { // the file is there once bound, before the server listens
        QLocalSocket socket;
        socket.connectToServer(Path(name));
        return socket.waitForConnected(100);
    });
}

bool ServerGroup::StartSessionBus()
{
    Write("bus.conf", QStringLiteral("<busconfig><type>session</type><listen>unix:path=%1</listen><auth>EXTERNAL</auth>"
                                     "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
                          .arg(Path("runtime/bus")));
    Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + Path("runtime/bus"));
    return Start({"dbus-daemon", "--nofork", "--config-file=" + Path("bus.conf")}) && Listens("runtime/bus");
}

bool ServerGroup::StartX()
{
    // The server takes every cookie of its file, whatever display it names;
    // its clients look for their display's. It prints its number once it listens.
    const QString auth = Path("xauth"), cookie = QUuid::createUuid().toString(QUuid::Id128); // random
    const auto add = [&](const QString& display) { return Execute({"xauth", "-f", auth, "add", display, ".", cookie}).first == 0; };
    const QStringList xvfb{"Xvfb", "-displayfd", "1", "-auth", auth, "-nolisten", "tcp", "-noreset"};
    const bool up = add(":0") && Start(xvfb, "x-display") && Soon([this] { return Read("x-display").endsWith('\n'); });
    const QString display = ":" + Read("x-display").trimmed();
    Set("DISPLAY", display);
    Set("XAUTHORITY", auth);
    Set("QT_QPA_PLATFORM", "xcb");
    return up && add(display);
}

bool ServerGroup::End()
{
    const auto gone = [this](int signal) {
        kill(-group_, signal);
        for (auto& server : servers_) server->waitForFinished(5000);
        return Soon([this] { return kill(-group_, 0) != 0 && errno == ESRCH; }, 5000); // what they started, too
    };
    if (group_ && !gone(SIGTERM) && !gone(SIGKILL)) return false;
    servers_.clear();
    group_ = 0;
    return true;
}

int RunWithServers(int argc, char** argv, const std::function<QString(ServerGroup&)>& start)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    ServerGroup servers;
    const QString missing = start(servers);
    const bool ci = qEnvironmentVariableIsSet("CI");
    if (!missing.isEmpty())
        std::printf("[  %s ] %s (scripts/setup.sh installs it); the servers said:\n%s\n", ci ? "FAILED " : "SKIPPED",
                    qPrintable(missing), qPrintable(servers.Log()));
    const int failed = missing.isEmpty() ? [&] { QApplication app(argc, argv); return RUN_ALL_TESTS(); }() : int(ci);
    return servers.End() ? failed : (std::printf("the servers' processes did not end\n"), 1);
}

} // namespace wd::test
