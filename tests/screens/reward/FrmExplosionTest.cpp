// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The gamble's screen alone over a stake of 1000. The e2e roads play every way
// the gamble can go, through to the score-saving screen.
#include <gtest/gtest.h>

#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "screens/reward/FrmExplosion.h"

using namespace wd;
using namespace wd::test;

TEST(FrmExplosion, ShowsThePhaseOfTheGambleOnItsStopButton)
{
    ScreenRig rig;
    RegisterAllScreens(rig.screens);
    rig.session.StakeScore = 1000;
    FrmExplosion& gamble = rig.screens.Get<FrmExplosion>();
    const Button* stop = gamble.controls().Get<Button>("CmdStop");
    QStringList shown;
    const auto show = [&] { shown << QStringLiteral("%1 %2 %3").arg(int(gamble.Gamble().phase)).arg(stop->text()).arg(stop->isEnabled()); };
    show();
    rig.random.Push(0.1f); // the first button is the safe one
    gamble.CmdNum_Click(0);
    for (int count = 200; count <= 1000; count += 200, show()) gamble.Timer1_Timer(); // 1000 ends it
    EXPECT_EQ(shown, (QStringList{"0 &Stop!!! 0", "1 &Stop!!! 1", "1 &Stop!!! 1", "1 &Stop!!! 1", "1 &Stop!!! 1", "2 继续 1"}))
        << "phase 0 choosing, 1 counting, 2 ended";
}
