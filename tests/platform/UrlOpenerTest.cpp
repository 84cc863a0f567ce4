// The real launch path: a fake default browser registered the XDG way in a
// private data folder receives the address.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "platform/UrlOpener.h"

using namespace wd;

namespace {

class FakeBrowser {
public:
    FakeBrowser()
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
    ~FakeBrowser()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            const auto& [name, value] = *it;
            if (value.isNull() || value.isEmpty()) qunsetenv(name.constData());
            else qputenv(name.constData(), value);
        }
    }
    bool Registered() const { return registered_; }
    QString Arrived() const
    {
        QFile f(record_);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    void Set(const char* name, const QString& value)
    {
        saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
        qputenv(name, value.toUtf8());
    }

private:
    static void Write(const QString& path, const QString& text)
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text.toUtf8());
    }
    QTemporaryDir dir_;
    QString record_;
    bool registered_ = false;
    std::vector<std::pair<QByteArray, QByteArray>> saved_;
};

} // namespace

TEST(UrlOpener, TheDefaultBrowserReceivesTheExactAddressEachTime)
{
    FakeBrowser browser;
    ASSERT_TRUE(browser.Registered());
    DesktopUrlOpener launcher;
    int failures = 0;
    launcher.SetFailureHandler([&](const QString&) { ++failures; });

    const QString address = QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp?userid=%E5%8F%B6"
                                           "&passwd=a%26b%3D%23&playercash=120000&provider=Kessa&providercash=5000");
    ASSERT_TRUE(launcher.Open(address));
    ASSERT_TRUE(launcher.Open(address)); // every click launches again
    QTRY_COMPARE_WITH_TIMEOUT(browser.Arrived(), address + QStringLiteral("\n") + address + QStringLiteral("\n"), 10000);
    EXPECT_EQ(failures, 0);
}

TEST(UrlOpener, NoBrowserIsReportedNotHidden)
{
    FakeBrowser browser; // a private, empty desktop…
    browser.Set("DISPLAY", QString());            // …with no display for a graphical browser
    browser.Set("BROWSER", QStringLiteral("false")); // and no other browser that starts
    DesktopUrlOpener launcher;
    QString failed;
    launcher.SetFailureHandler([&](const QString& a) { failed = a; });
    const QString address = QStringLiteral("http://www.xinglan.example/");
    launcher.Open(address);
    QTRY_COMPARE_WITH_TIMEOUT(failed, address, 10000);
    EXPECT_TRUE(browser.Arrived().isEmpty());

    EXPECT_FALSE(launcher.Open(QStringLiteral("not an address"))) << "nothing to open";
}
