// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The quiz screen on a generated question file. The e2e roads play the rest,
// the desktop tests an input method's Enter.
#include <gtest/gtest.h>

#include "fakes/BankFixture.h"
#include "fakes/GameDriver.h"

using namespace wd;
using namespace wd::test;

TEST(Frmmain, ItsCloseBoxAsksAsItsQuitButtonDoes)
{
    BankFixture file;
    GameDriver d{QString::fromStdString(file.File().string())};
    d.SignIn();
    d.Confirm(ScreenId::Frmmain, "Cmdquit", Answer::Cancel);
    d.On(ScreenId::Frmmain).close();
    EXPECT_EQ(d.Messages(), QStringList(2, MessageText(MessageId::ConfirmLeave)));
    EXPECT_EQ(d.programEnds, 1);
}
