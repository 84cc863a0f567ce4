// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/FakeBrowser.h"

#include <csignal>

#include <QDir>
#include <QFile>
#include <QProcess>

namespace wd::test {

namespace {

void Write(const QString& path, const QString& text, bool program = false)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text.toUtf8());
    f.close();
    if (program) f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// What xdg-open 1.1 tries by name when nothing else opens the address.
constexpr const char* kWellKnownBrowsers[] = {
    "x-www-browser", "firefox", "iceweasel", "seamonkey", "mozilla", "epiphany", "konqueror", "chromium",
    "chromium-browser", "google-chrome", "www-browser", "links2", "elinks", "links", "lynx", "w3m"};

// Variables by which xdg-open and xdg-mime would find a desktop environment or a browser.
constexpr const char* kDesktopVariables[] = {
    "BROWSER", "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "DESKTOP", "KDE_FULL_SESSION",
    "KDE_SESSION_VERSION", "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "LXQT_SESSION_CONFIG",
    "XDG_MENU_PREFIX", "WAYLAND_DISPLAY"};

// The private desktop's folders.
constexpr std::pair<const char*, const char*> kFolders[] = {
    {"HOME", "home"}, {"XDG_DATA_HOME", "data"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_DIRS", "none"},
    {"XDG_CONFIG_DIRS", "none"}, {"XDG_RUNTIME_DIR", "runtime"}};

} // namespace

FakeBrowser::FakeBrowser(Then then)
{
    const auto in = [this](const char* name) { return dir_.filePath(QString::fromLatin1(name)); };
    for (const char* sub : {"home", "data/applications", "config", "none", "runtime", "bin"}) QDir().mkpath(in(sub));
    QFile::setPermissions(in("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    Write(in("bin/no-browser"), QStringLiteral("#!/bin/sh\nexit 1\n"), true);
    for (const char* name : kWellKnownBrowsers)
        QFile::link(in("bin/no-browser"), in("bin/") + QString::fromLatin1(name));
    const QString stay = then == Then::Stay
                             ? QStringLiteral("echo $$ >> '%1'\nexec sleep 60 </dev/null >/dev/null 2>&1\n").arg(in("pids"))
                             : QString();
    Write(in("browser.sh"), QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n%2").arg(in("arrived"), stay), true);
    entry_ = in("data/applications/wd-fake-browser.desktop");
    entryText_ = QStringLiteral("[Desktop Entry]\nType=Application\nName=Fake browser\nExec=%1 %u\n"
                                "MimeType=x-scheme-handler/http;x-scheme-handler/https;\n")
                     .arg(in("browser.sh"));
    Install();

    for (const char* name : kDesktopVariables) env_.Set(name, std::nullopt);
    for (const auto& [name, folder] : kFolders) env_.Set(name, in(folder));
    env_.Set("DBUS_SESSION_BUS_ADDRESS", QStringLiteral("unix:path=") + in("no-bus"));
    env_.Set("PATH", in("bin") + u':' + qEnvironmentVariable("PATH"));
    registered_ = QProcess::execute(QStringLiteral("xdg-mime"),
                                    {QStringLiteral("default"), QStringLiteral("wd-fake-browser.desktop"),
                                     QStringLiteral("x-scheme-handler/http"), QStringLiteral("x-scheme-handler/https")}) == 0;
}

FakeBrowser::~FakeBrowser()
{
    QFile pids(dir_.filePath(QStringLiteral("pids")));
    if (pids.open(QIODevice::ReadOnly))
        for (const QByteArray& pid : pids.readAll().split('\n'))
            if (pid.toInt() > 0) ::kill(pid.toInt(), SIGTERM);
}

void FakeBrowser::Uninstall() { QFile::remove(entry_); }

void FakeBrowser::Install() { Write(entry_, entryText_); }

QString FakeBrowser::Arrived() const
{
    QFile f(dir_.filePath(QStringLiteral("arrived")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace wd::test
