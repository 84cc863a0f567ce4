// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The start screen on a generated question file, the other screens real and
// every side effect recorded. Whole games are in the e2e tests.
#include <gtest/gtest.h>

#include <QTest>

#include "fakes/BankFixture.h"
#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "ui/AnimationPanel.h"
#include "ui/Screen.h"

using namespace wd;
using namespace wd::test;
using S = ScreenId;

namespace {

struct Start : ScreenRig {
    explicit Start(const BankFixture& f) : ScreenRig(f.File())
    {
        RegisterAllScreens(screens);
        screens.Show(S::FrmStart);
    }
    template <class T> T* Get(const char* name) { return screens.Load(S::FrmStart).controls().Get<T>(name); }
};

} // namespace

TEST(FrmStart, PlaysTheTitleThemeShowsItsTextsOpensTheSitesPagesAndQuitAndTheCloseBoxEndTheProgram)
{
    BankFixture f;
    Start s(f);
    EXPECT_TRUE(s.Get<AnimationPanel>("ShockwaveFlash1")->Movie().endsWith(QStringLiteral("/swf/bantou.swf")));
    s.Get<Label>("Label1")->Clicked();
    s.Get<Label>("Label4")->Clicked();
    EXPECT_EQ(s.urls.opened, (QStringList{"http://www.xinglan.example/", "http://www.xinglan.example/asp/register/4-01.asp"}));
    QStringList texts{s.screens.Load(S::FrmStart).windowTitle(), s.Get<TextBox>("TxtUserId")->text()};
    for (const char* label : {"Lblremark", "Label2", "Label1", "Label4", "Label3"}) texts << s.Get<Label>(label)->Caption();
    for (const char* button : {"CmdStart", "CmdHelp", "CmdQuit"}) texts << s.Get<Button>(button)->text();
    EXPECT_EQ(texts, (QStringList{"问鼎五关(Kessa Version)--星澜小站", "glintora", "问鼎五关\r接受全球澜迷大考验",
                                  "请输入你在星澜小站注册的用户名:", "到星澜小站升级", "新用户注册",
                                  "星澜小站\u3000http://www.xinglan.example/\r联系我们: webmaster@xinglan.example", "开始接受考验",
                                  "教你玩", "退出游戏"}));

    // A link that fails once the player has started a game is not told over it.
    s.urls.late = true;
    s.Get<Label>("Label4")->Clicked();
    s.Get<Button>("CmdStart")->click();
    s.urls.Decide(false);
    EXPECT_TRUE(s.messages.notices.empty());
    EXPECT_EQ(s.screens.State(S::Frmmain), ScreenState::Shown);

    // Its quit button and its close box end the program.
    Start closed(f);
    closed.screens.Load(S::FrmStart).close();
    s.Get<Button>("CmdQuit")->click();
    EXPECT_EQ(s.programEnds + closed.programEnds, 2);
}

// The start screen comes up whatever the file's state; its start button tries
// the file again, so a file that another program let go starts a game at once.
TEST(FrmStart, ABlankIdIsRefusedALockedFileNamedAndOnceLetGoAnIdWithSpacesStartsAFreshGameAsTyped)
{
    BankFixture f;
    auto lock = std::make_unique<HeldLock>(f.File(), "begin exclusive");
    Start s(f);
    TextBox* id = s.Get<TextBox>("TxtUserId");
    for (const char* blank : {"   ", ""}) {
        id->setText(QString::fromLatin1(blank));
        QTest::keyClick(id, Qt::Key_Return); // Enter starts like the button
    }
    s.Get<Button>("CmdStart")->setFocus(); // as a click with the mouse leaves it
    s.Get<Button>("CmdStart")->click();
    ASSERT_EQ(s.messages.shown.size(), 3u);
    for (const auto& shown : s.messages.shown) EXPECT_EQ(shown.id, MessageId::EnterUserId);
    EXPECT_EQ(s.screens.Load(S::FrmStart).focusWidget(), id);

    id->clear();
    QTest::keyClicks(id, QStringLiteral("abcdefghij0123456789xyz")); // the site's ids hold 20 at most
    EXPECT_EQ(id->text(), QStringLiteral("abcdefghij0123456789"));
    id->setText(QStringLiteral(" kessa "));
    s.Get<Button>("CmdStart")->click();
    ASSERT_EQ(s.messages.notices.size(), 1u);
    EXPECT_TRUE(s.messages.notices[0].contains(QStringLiteral("正被另一个程序使用"))) << s.messages.notices[0].toStdString();
    EXPECT_EQ(s.screens.State(S::Frmmain), ScreenState::NotLoaded);

    lock.reset();
    s.session.StakeScore = 777;
    QTest::keyClick(id, Qt::Key_Enter);
    const Module1& m = s.session;
    EXPECT_EQ(m.PlayerId, QStringLiteral(" kessa "));
    EXPECT_EQ(std::vector<int>({m.TimeLeft, m.Level, m.ClearCount, m.EasyLeft, m.PassesLeft, m.StakeScore, m.ProviderScore}),
              std::vector<int>({240, 1, 0, 3, 4, 0, 0}));
    s.screens.Load(S::Frmmain).close(); // its close box asks as its quit button does
    EXPECT_EQ(s.messages.shown.back().id, MessageId::ConfirmLeave);
    EXPECT_EQ(s.programEnds, 1);
}
