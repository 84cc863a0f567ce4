// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/AllScreens.h"

#include "screens/entry/FrmSaveMoney.h"
#include "screens/entry/FrmStart.h"
#include "screens/help/FrmHelp.h"
#include "screens/quiz/Frmmain.h"
#include "screens/reward/FrmCountUp.h"
#include "screens/reward/FrmExplosion.h"
#include "ui/Screens.h"

namespace wd {

void RegisterAllScreens(Screens& screens)
{
    screens.Register<FrmStart>();
    screens.Register<Frmmain>();
    screens.Register<FrmCountUp>();
    screens.Register<FrmExplosion>();
    screens.Register<FrmSaveMoney>();
    screens.Register<FrmHelp>();
    // A new screen id without its line above is found here, when the game is
    // assembled, not when a handler first shows it.
    for (std::size_t i = 0; i < kScreenCount; ++i)
        if (!screens.Registered(ScreenId(i))) qFatal("%s is not registered", ScreenName(ScreenId(i)));
}

} // namespace wd
