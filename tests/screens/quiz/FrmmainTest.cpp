// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The quiz screen on a generated question file, where answer N is "aN": what
// the answer comparison does not forgive. The e2e roads play the rest, and the
// desktop tests an input method's Enter.
#include <gtest/gtest.h>

#include "fakes/BankFixture.h"
#include "fakes/GameDriver.h"

using namespace wd;
using namespace wd::test;
using S = ScreenId;

namespace {

// A game on the generated file, signed in.
struct Quiz : BankFixture {
    Quiz() { d.SignIn(); }
    GameDriver d{QString::fromStdString(File().string())};
};

} // namespace

TEST(Frmmain, OnlySpacesAroundTheAnswerAreForgiven)
{
    for (const char* typed : {"A7", "ａ7", "a 7", "a7\t"}) {
        Quiz g;
        g.d.random.Push(RFor(7, 159));
        g.d.PressStart();
        g.d.Type(QString::fromUtf8(typed));
        EXPECT_EQ(g.d.Messages(), QStringList{MessageText(MessageId::WrongNoScore, QStringLiteral("a7"))}) << typed;
    }
}

TEST(Frmmain, ItsCloseBoxAsksAsItsQuitButtonDoes)
{
    Quiz g;
    g.d.Confirm(S::Frmmain, "Cmdquit", Answer::Cancel);
    g.d.On(S::Frmmain).close();
    EXPECT_EQ(g.d.Messages(), QStringList(2, MessageText(MessageId::ConfirmLeave)));
    EXPECT_EQ(g.d.programEnds, 1);
}
