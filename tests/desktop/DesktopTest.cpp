// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The page opener as players meet it: a real X server of the test's own
// (Xvfb, no desktop environment, no session bus), xdg-open choosing the
// default browser the XDG way, real message boxes and the real clipboard.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include "fakes/ScriptedRandom.h"
#include "fakes/Servers.h"
#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "platform/UrlOpener.h"
#include "screens/entry/FrmSaveMoney.h"
#include "ui/Messages.h"
#include "ui/Screens.h"

using namespace wd;
using namespace wd::test;

namespace {

// With no desktop environment and no session bus, xdg-open takes its generic
// way: the default handler of http addresses (`xdg-mime query default`), then
// $BROWSER, here one that fails (so no browser of this machine is tried). The
// default handler appends each address it is given to the file Arrived()
// reads, and stays running, as some browsers do, until the test program ends.
// Entry() is its desktop entry.
QString Entry() { return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications/wd-browser.desktop"); }
QString Arrived() { return QString::fromUtf8(ReadFile(qEnvironmentVariable("XDG_RUNTIME_DIR") + "/arrived")); }

QString SetUpBrowser(ServerGroup& desktop)
{
    for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "DESKTOP", "KDE_FULL_SESSION",
                             "KDE_SESSION_VERSION", "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID",
                             "LXQT_SESSION_CONFIG", "XDG_MENU_PREFIX", "WAYLAND_DISPLAY"})
        desktop.Set(name, std::nullopt);
    for (const auto& [name, value] : {std::pair{"BROWSER", QStringLiteral("false")}, {"XDG_DATA_DIRS", desktop.Path("none")},
                                      {"XDG_CONFIG_DIRS", desktop.Path("none")},
                                      {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + desktop.Path("no-bus")}})
        desktop.Set(name, value);
    desktop.Write("browser", QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$XDG_RUNTIME_DIR/arrived\"\nexec tail -s 0.1 "
                                            "-f --pid=%1 /dev/null </dev/null >/dev/null 2>&1\n").arg(getpid()));
    desktop.Write("data/applications/wd-browser.desktop", "[Desktop Entry]\nType=Application\nName=Browser\nExec=sh "
                  + desktop.Path("browser") + " %u\nMimeType=x-scheme-handler/http;\n");
    return Execute({"xdg-mime", "default", "wd-browser.desktop", "x-scheme-handler/http"}).first == 0 ? "" : "no xdg-mime";
}

} // namespace

// Without a browser the score survives a confirmed play again and the player
// is told, with the password masked and the whole address to copy. Once a
// browser is there, a quit confirmed while the page is on its way waits for
// it, and the browser gets the exact address once. That browser stays, as some
// do, and keeps xdg-open running: past the opener's wait that is a success.
TEST(Desktop, TheScorePageWithoutABrowserKeepsTheFiguresAndWithOneArrivesExactlyOnce)
{
    QFile::rename(Entry(), Entry() + ".off"); // as uninstalling a browser does: the default still names it
    Module1 session;
    ScriptedRandom random;
    QuestionBank bank(session, random, "no-such-file.bin");
    QtMessageBoxes messages;
    DesktopUrlOpener urls;
    int ends = 0;
    Screens screens(Services{session, bank, messages, random, urls}, [&] { ++ends; });
    session.StakeScore = 20000;
    session.PlayerId = QStringLiteral("叶子\U0001F600");
    screens.Register<FrmSaveMoney>();
    screens.Show(FrmSaveMoney::kId);
    Screen& save = *screens.Loaded(FrmSaveMoney::kId);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&save));
    save.controls().Get<TextBox>("TxtPassword")->setText(QStringLiteral("a&b=#\U00020000"));
    const auto upload = [&] { QTest::mouseClick(save.controls().Get<Label>("Label1"), Qt::LeftButton, {}, QPoint(2, 2)); };
    const QString address = QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp?userid=%E5%8F%B6%E5%AD%90%F0"
                                           "%9F%98%80&passwd=a%26b%3D%23%F0%A0%80%80&playercash=20000&provider=&providercash=0");

    // Every box is answered OK; a notice is read and its copy button pressed.
    QStringList notices;
    QTimer player;
    QObject::connect(&player, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QStringLiteral("复制网址")) {
                notices << box->text();
                button->click();
                return;
            }
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
    });
    player.start(20);
    upload();
    save.controls().Get<Button>("CmdQuit")->click(); // "yes, I have saved"
    ASSERT_TRUE(Soon([&] { return notices.size() == 1; })) << notices.size();
    EXPECT_TRUE(notices[0].endsWith(QString(address).replace(QStringLiteral("a%26b%3D%23%F0%A0%80%80"), QStringLiteral("******"))))
        << notices[0].toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), address);
    EXPECT_EQ(session.StakeScore, 20000);

    QFile::rename(Entry() + ".off", Entry());
    upload();
    upload(); // while the first is undecided: not sent again
    save.controls().Get<Button>("CmdExit")->click();
    EXPECT_TRUE(Soon([&] { return ends == 1; })) << ends;
    const QString later = QStringLiteral("http://www.xinglan.example/"); // opened after any second upload
    urls.Open(later, [](bool) {});
    EXPECT_TRUE(Soon([&] { return Arrived().endsWith(later + u'\n'); }));
    EXPECT_EQ(Arrived(), address + u'\n' + later + u'\n');
    EXPECT_EQ(notices.size(), 1);
}

int main(int argc, char** argv)
{
    return RunWithServers(argc, argv, [](ServerGroup& servers) -> QString {
        return servers.StartX() ? SetUpBrowser(servers) : "no Xvfb with xauth";
    });
}
