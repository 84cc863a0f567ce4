// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/XServer.h"

#include <QUuid>
#include <QtGlobal>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace wd::test {

pid_t StartXServer(const std::string& auth, int patienceMs)
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
    const bool started = poll(&wait, 1, patienceMs) > 0 && read(ready[0], number, sizeof number - 1) > 0;
    close(ready[0]);
    const std::string display = ":" + std::to_string(std::atoi(number));
    qputenv("DISPLAY", display.c_str());
    qputenv("XAUTHORITY", auth.c_str());
    return started && addCookie(display) ? pid : (kill(pid, SIGTERM), -1);
}

} // namespace wd::test
