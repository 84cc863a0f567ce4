// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/Servers.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QUuid>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wd::test {

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

ServerGroup::ServerGroup()
{
    for (const auto& [name, folder] : {std::pair{"XDG_RUNTIME_DIR", "runtime"}, {"HOME", "home"},
                                       {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"},
                                       {"XDG_CACHE_HOME", "cache"}, {"XDG_STATE_HOME", "state"}}) {
        QDir().mkpath(Path(QString::fromLatin1(folder)));
        Set(name, QFile::encodeName(Path(QString::fromLatin1(folder))));
    }
    QFile::setPermissions(Path(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

ServerGroup::~ServerGroup()
{
    End();
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second) qputenv(it->first.constData(), *it->second);
        else qunsetenv(it->first.constData());
    }
}

void ServerGroup::Set(const char* name, const std::optional<QByteArray>& value)
{
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    if (value) qputenv(name, *value);
    else qunsetenv(name);
}

bool ServerGroup::Start(const QStringList& command)
{
    std::vector<QByteArray> args;
    for (const QString& a : command) args.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int log = open(QFile::encodeName(Path(QStringLiteral("servers.log"))).constData(),
                         O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    int failed[2]; // closed on a successful exec, or carries the errno
    if (log < 0 || pipe2(failed, O_CLOEXEC) != 0) return false;
    const pid_t group = group_;
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, group);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, STDIN_FILENO);
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        execvp(argv[0], argv.data());
        const int error = errno;
        static_cast<void>(write(failed[1], &error, sizeof error));
        _exit(127);
    }
    close(log);
    close(failed[1]);
    if (pid > 0) {
        setpgid(pid, group); // as the child does, whichever comes first
        if (!group_) group_ = pid;
    }
    int error = 0;
    const bool ran = pid > 0 && read(failed[0], &error, sizeof error) == 0;
    close(failed[0]);
    return ran;
}

std::optional<QByteArray> ServerGroup::Run(const QStringList& command)
{
    QProcess p;
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(command.first(), command.mid(1));
    if (!p.waitForFinished(kPatience)) {
        p.kill();
        p.waitForFinished(kPatience);
        return std::nullopt;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
    return p.readAllStandardOutput();
}

bool ServerGroup::StartSessionBus()
{
    const QString socket = Path(QStringLiteral("runtime/bus")), config = Path(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QStringLiteral("<busconfig><type>session</type><listen>unix:path=%1</listen><auth>EXTERNAL</auth>"
                              "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
                   .arg(socket)
                   .toUtf8());
    file.close();
    Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QFile::encodeName(socket));
    return Start({QStringLiteral("dbus-daemon"), QStringLiteral("--nofork"), QStringLiteral("--config-file=") + config})
        && Soon([&] { return QFile::exists(socket); });
}

bool ServerGroup::End()
{
    if (!group_) return true;
    const auto gone = [this](int ms) {
        const QDeadlineTimer deadline(ms);
        while (true) {
            while (waitpid(-group_, nullptr, WNOHANG) > 0) {
            }
            if (kill(-group_, 0) != 0 && errno == ESRCH) return true;
            if (deadline.hasExpired()) return false;
            QTest::qSleep(10);
        }
    };
    kill(-group_, SIGTERM);
    const bool ended = gone(5000) || (kill(-group_, SIGKILL), gone(5000));
    if (ended) group_ = 0;
    return ended;
}

QString ServerGroup::Log() const
{
    QFile log(Path(QStringLiteral("servers.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll().right(4000)) : QString();
}

} // namespace wd::test
