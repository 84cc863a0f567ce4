// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The hand-over rules of Screens with probe screens: what may happen to the
// windows while a nested event loop (a modal screen or a message box) runs.
#include <gtest/gtest.h>

#include <QPointer>
#include <QTimer>

#include "ProbeScreen.h"
#include "fakes/ScreenRig.h"

using namespace wd;
using namespace wd::test;

namespace {

constexpr ScreenId kBase = ScreenId::FrmStart, kA = ScreenId::Frmmain, kB = ScreenId::FrmExplosion;

// Runs fn inside the nested loop the test enters next.
void Inside(const std::function<void()>& fn) { QTimer::singleShot(0, fn); }

// Three probes, the base one shown. A loop that is never left fails the test
// and is left all the same.
struct Lifecycle : ScreenRig, ::testing::Test {
    Lifecycle()
    {
        for (ScreenId id : {kBase, kA, kB}) ProbeScreen::RegisterAs(screens, id);
        screens.Show(kBase);
        QTimer::singleShot(5000, &screens, [] {
            ADD_FAILURE() << "a loop was never left";
            QCoreApplication::exit(1);
        });
    }
};

} // namespace

// The handler that ran the loop may go on with the unloaded screen.
TEST_F(Lifecycle, AScreenUnloadedUnderANestedLoopIsDeletedOnlyOnceTheLoopHasEnded)
{
    screens.Show(kA);
    const QPointer<Screen> a = screens.Loaded(kA);
    bool keptInside = false;
    Inside([&] {
        screens.Unload(kA);
        QCoreApplication::processEvents();
        keptInside = a && !a->isVisible() && !screens.Loaded(kA);
        screens.Unload(kB);
    });
    screens.ShowModal(kB);
    EXPECT_TRUE(keptInside && a);
    EXPECT_TRUE(WaitUntil([&] { return a.isNull(); }, 1000)) << "never deleted";
}

TEST_F(Lifecycle, ShowModalReturnsOnceItsScreenIsHiddenOrUnloaded)
{
    for (const bool unload : {false, true}) {
        Inside([&] { unload ? screens.Unload(kB) : screens.Hide(kB); });
        screens.ShowModal(kB);
        EXPECT_EQ(screens.State(kB), unload ? ScreenState::NotLoaded : ScreenState::Hidden);
    }
}

// A modal screen and, in it, one of the game's own message boxes. A box that
// showed after the end would wait for ever.
TEST_F(Lifecycle, TheProgramsEndLeavesEveryLoopAndNoBoxShowsAfterIt)
{
    ScreenRig real("no-such-file.bin", true);
    ProbeScreen::RegisterAs(real.screens, kA);
    QList<Answer> answers;
    Inside([&] {
        Inside([&] { real.screens.EndProgram(); });
        for (int box = 0; box < 2; ++box) answers << real.screens.Loaded(kA)->Ask(MessageId::ConfirmLeave);
    });
    real.screens.ShowModal(kA);
    EXPECT_EQ(answers, (QList<Answer>{Answer::Cancel, Answer::Cancel}));
    EXPECT_EQ(real.programEnds, 1);
}

// What waits for the player, such as the late answer of a page request,
// waits while the screen is covered and is told when that ends.
TEST_F(Lifecycle, ABoxOrAModalScreenCoversAScreenUntilItHasClosed)
{
    Screen& base = *screens.Loaded(kBase);
    QList<bool> covered;
    QObject::connect(&screens, &Screens::NestedLoopEnded, [&] { covered << screens.Covered(base); });
    messages.whileShown = [&] { covered << screens.Covered(base); };
    base.Ask(MessageId::ConfirmLeave);
    Inside([&] {
        covered << screens.Covered(base) << screens.Covered(*screens.Loaded(kB));
        screens.Unload(kB);
    });
    screens.ShowModal(kB);
    EXPECT_EQ(covered, (QList<bool>{true, false, true, false, false}));
}
