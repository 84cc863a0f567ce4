// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The tally alone, over the session as a cleared level 3 leaves it. The e2e
// roads go on from it and stop at it, and see the banked runs shown or hidden.
#include <gtest/gtest.h>

#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "ui/Screen.h"

using namespace wd;
using namespace wd::test;

TEST(FrmCountUp, ShowsTheLevelTheBankedRunsTheStakeTheSecondsAndTheEasyChancesLeft)
{
    ScreenRig rig;
    RegisterAllScreens(rig.screens);
    std::tie(rig.session.Level, rig.session.ClearCount, rig.session.StakeScore, rig.session.TimeLeft, rig.session.EasyLeft) =
        std::tuple(3, 2, 20000, 75, 1);
    const ControlSet& c = rig.screens.Load(ScreenId::FrmCountUp).controls();
    QStringList shown;
    for (const char* label : {"Label1", "LblFixScore", "LblScore", "LblRemainTime"}) shown << c.Get<Label>(label)->Caption();
    for (int i = 0; i < 3; ++i) shown << c.Get<Label>("LblEasy", i)->Caption();
    EXPECT_EQ(shown, (QStringList{"第3关成绩", "200000", "20000", "75", "X", "X", "→"}));
}
