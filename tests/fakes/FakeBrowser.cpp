#include "fakes/FakeBrowser.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace wd::test {

namespace {

void Write(const QString& path, const QString& text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text.toUtf8());
}

} // namespace

FakeBrowser::FakeBrowser()
{
    const QString apps = dir_.filePath(QStringLiteral("data/applications"));
    QDir().mkpath(apps);
    QDir().mkpath(dir_.filePath(QStringLiteral("config")));
    record_ = dir_.filePath(QStringLiteral("arrived.txt"));
    const QString script = dir_.filePath(QStringLiteral("browser.sh"));
    Write(script, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n").arg(record_));
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Write(apps + QStringLiteral("/wd-fake-browser.desktop"),
          QStringLiteral("[Desktop Entry]\nType=Application\nName=Fake browser\nExec=%1 %u\n"
                         "MimeType=x-scheme-handler/http;\n").arg(script));
    Set("XDG_DATA_HOME", dir_.filePath(QStringLiteral("data")));
    Set("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")));
    Set("XDG_DATA_DIRS", dir_.filePath(QStringLiteral("none")));
    Set("DISPLAY", QStringLiteral(":99")); // the opener looks for a display, never uses it
    registered_ = QProcess::execute(QStringLiteral("xdg-mime"),
                                    {QStringLiteral("default"), QStringLiteral("wd-fake-browser.desktop"),
                                     QStringLiteral("x-scheme-handler/http")}) == 0;
}

FakeBrowser::~FakeBrowser()
{
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        const auto& [name, value] = *it;
        if (value.isNull() || value.isEmpty()) qunsetenv(name.constData());
        else qputenv(name.constData(), value);
    }
}

QString FakeBrowser::Arrived() const
{
    QFile f(record_);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void FakeBrowser::Set(const char* name, const QString& value)
{
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
    qputenv(name, value.toUtf8());
}

} // namespace wd::test
