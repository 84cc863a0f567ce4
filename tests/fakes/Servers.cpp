// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/Servers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QUuid>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace wd::test {

namespace {
QString gMissing; // what the servers of this program lacked
} // namespace

bool Soon(const std::function<bool()>& done, int ms) { return QTest::qWaitFor(done, ms); }

pid_t StartXServer(const std::string& auth)
{
    const std::string cookie = QUuid::createUuid().toString(QUuid::Id128).toStdString(); // random
    const auto addCookie = [&](const std::string& display) {
        return std::system(("xauth -f " + auth + " add " + display + " . " + cookie + " >/dev/null 2>&1").c_str()) == 0;
    };
    int ready[2];
    if (!addCookie(":0") || pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // it ends with this program
        dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
        const std::string fd = std::to_string(ready[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-auth", auth.c_str(), "-nolisten", "tcp", nullptr);
        _exit(127);
    }
    close(ready[1]);
    char number[16] = {};
    pollfd wait{ready[0], POLLIN, 0};
    const bool started = poll(&wait, 1, kPatience) > 0 && read(ready[0], number, sizeof number - 1) > 0;
    close(ready[0]);
    const std::string display = ":" + std::to_string(std::atoi(number));
    qputenv("DISPLAY", display.c_str());
    qputenv("XAUTHORITY", auth.c_str());
    return started && addCookie(display) ? pid : (kill(pid, SIGTERM), -1);
}

Environment::~Environment()
{
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) it->second ? qputenv(it->first, *it->second) : qunsetenv(it->first);
}

void Environment::Set(const char* name, const std::optional<QString>& value)
{
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    value ? qputenv(name, value->toUtf8()) : qunsetenv(name);
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


bool ServerGroup::Start(const QStringList& command)
{
    QProcess& server = *servers_.emplace_back(std::make_unique<QProcess>());
    server.setStandardInputFile(QProcess::nullDevice());
    server.setStandardOutputFile(Path("servers.log"), QIODevice::Append);
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
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(Path(name)).left(sizeof address.sun_path - 1);
    std::copy(path.begin(), path.end(), address.sun_path);
    return Soon([&] { // the file is there once bound, before the server listens
        const int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool taken = connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        close(s);
        return taken;
    });
}

std::optional<QByteArray> ServerGroup::Run(const QStringList& command)
{
    QProcess p;
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(command.first(), command.mid(1));
    const bool ran = p.waitForFinished(kPatience) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return ran ? std::optional(p.readAllStandardOutput()) : std::nullopt; // the destructor ends one still running
}

void ServerGroup::Write(const char* name, const QString& text) const
{
    QDir().mkpath(QFileInfo(Path(name)).path());
    QFile file(Path(name));
    if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
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

void ServerGroup::Signal(int signal) const
{
    if (group_) kill(-group_, signal);
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

const QString& MissingServers() { return gMissing; }

int RunWithServers(int argc, char** argv, const std::function<QString(ServerGroup&)>& start)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    ServerGroup servers;
    gMissing = start(servers);
    if (!gMissing.isEmpty()) {
        gMissing += " (scripts/setup.sh installs it); the servers said:\n" + servers.Log();
        qputenv("QT_QPA_PLATFORM", "offscreen"); // so that the tests can say so
    }
    int failed = 0;
    {
        QApplication app(argc, argv);
        failed = RUN_ALL_TESTS();
    }
    return servers.End() ? failed : (std::fprintf(stderr, "the servers' processes did not end\n"), 1);
}

QString ServerGroup::Log() const
{
    QFile log(Path("servers.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll().right(4000)) : QString();
}

} // namespace wd::test
