// The real launch path: a fake default browser registered the XDG way in a
// private data folder receives the address.
#include <gtest/gtest.h>

#include <QTest>

#include "fakes/FakeBrowser.h"
#include "platform/UrlOpener.h"

using namespace wd;
using namespace wd::test;

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
