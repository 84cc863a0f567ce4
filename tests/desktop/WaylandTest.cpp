// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// A whole game on a Wayland compositor of the test's own (weston, headless),
// with no X server at all: every screen and message box a window of the
// compositor's, placed by it, with the title bar that Qt draws there. The
// compositor ends the program on a protocol error, and with it the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QWindow>

#include "fakes/GameDriver.h"
#include "fakes/Servers.h"

using namespace wd;
using namespace wd::test;

namespace {

using S = ScreenId;

// The title bar's maximize button and then its restore button, as Qt draws
// them on Wayland whatever the window allows: the compositor's size is taken,
// then the window's own comes back.
void MaximizeAndRestore(QWindow* window)
{
    const QSize own = window->size();
    window->setWindowStates(Qt::WindowMaximized);
    EXPECT_TRUE(Soon([&] { return window->width() > own.width(); })) << "maximized";
    window->setWindowStates(Qt::WindowNoState);
    EXPECT_TRUE(Soon([&] { return window->size() == own; })) << "restored";
}

} // namespace

// Qt's Wayland plugin keeps the compositor's objects to the process's end, and
// scripts/lsan.supp names the functions that make them. libwayland-client has
// no frame pointers, so only the slow unwinder finds those functions on the
// stack of an allocation; ASAN_OPTIONS may still override this.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }

// The start screen with its help over it, a level cleared and its message
// answered, the tally, the score-saving screen, and the game ended by its
// quit question. Each window is shown by the compositor; the modal ones are
// linked to the window they cover, which keeps them above it.
TEST(Wayland, AWholeGameRunsOnTheCompositor)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
    GameDriver d(QStringLiteral(WD_SAMPLE_BANK), true);
    const auto shown = [&](S id) { return Soon([&] { return d.On(id).windowHandle()->isExposed(); }); };
    QStringList boxes; // each real box, as the player answers it
    QTimer player;
    QObject::connect(&player, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->windowHandle()->isExposed()) return;
        player.stop();
        EXPECT_EQ(box->windowHandle()->transientParent(), box->parentWidget()->windowHandle());
        if (boxes.isEmpty()) MaximizeAndRestore(box->windowHandle());
        boxes << box->text();
        box->button(QMessageBox::Ok)->click();
        player.start();
    });
    player.start(20);

    ASSERT_TRUE(shown(S::FrmStart));
    d.OnShown(S::FrmHelp, [&] {
        EXPECT_TRUE(shown(S::FrmHelp));
        EXPECT_EQ(d.On(S::FrmHelp).windowHandle()->transientParent(), d.On(S::FrmStart).windowHandle());
        d.Control<Button>(S::FrmHelp, "Command1")->click();
    });
    d.Control<Button>(S::FrmStart, "CmdHelp")->click();
    d.SignIn();
    ASSERT_TRUE(shown(S::Frmmain));
    d.PressStart();
    MaximizeAndRestore(d.On(S::Frmmain).windowHandle());
    d.AnswerRight();
    ASSERT_EQ(d.Shown(), QStringLiteral("FrmCountUp"));
    ASSERT_TRUE(shown(S::FrmCountUp));
    d.StopAtTally();
    ASSERT_TRUE(shown(S::FrmSaveMoney));
    d.Control<Button>(S::FrmSaveMoney, "CmdExit")->click();
    EXPECT_EQ(d.programEnds, 1);
    EXPECT_EQ(boxes, (QStringList{QStringLiteral("恭喜!你过关啦!!"), QStringLiteral("是否决定退出游戏　")}));
}

int main(int argc, char** argv)
{
    return RunWithServers(argc, argv, [](ServerGroup& servers) -> QString {
        servers.Set("DISPLAY", std::nullopt);
        // The input method "compose": the headless compositor has no seat, on
        // which Qt's own Wayland input method would end the program at the first
        // key; every desktop has one. Widgets draw to shared memory; with no
        // integration named "shm" Qt loads no EGL either, whose software driver
        // keeps memory past the end.
        for (const auto& [name, value] : {std::pair{"WAYLAND_DISPLAY", "wd-wayland"}, {"QT_QPA_PLATFORM", "wayland"},
                                          {"QT_IM_MODULE", "compose"}, {"QT_WAYLAND_CLIENT_BUFFER_INTEGRATION", "shm"}})
            servers.Set(name, QString::fromLatin1(value));
        const bool up = servers.Start({"weston", "--backend=headless-backend.so", "--use-pixman", "--socket=wd-wayland"})
                     && servers.Listens("runtime/wd-wayland");
        return up ? "" : "no weston";
    });
}
