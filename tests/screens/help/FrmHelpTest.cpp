// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The help screen, opened from the start screen as the player opens it. The
// texts are the rules as the player must read them: "\u3000" is the
// ideographic space, "\r" a carriage return.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "ui/Screen.h"

using namespace wd;
using namespace wd::test;
using S = ScreenId;

namespace {

const char16_t kRules[] =
    u"本游戏所有题目均为填空题,所得的游戏分数不设上限.你必须在240秒内通过5关的考验\u3000只要在顺利通过5关后\u3000游戏剩余时间将恢复为240秒\u3000和恢复有3道拣手题的机会.并且重新从第一关开始玩\u3000而你获得的连过5关的分数肯定是你的\u3000\r"
    u"只要你一旦答错题目\u3000你将带著你暂时获得的分数进入爆煲游戏\r\r"
    u"关于爆煲游戏:你选择3个按钮中的其中一个\u3000其中有3个按钮中的只有一个不会爆炸.接著\u3000分数从0开始增加\u3000如果你选择的按钮不会爆炸\u3000分数将增加到你暂时获得的分数为止\u3000你将获得所有的分数\u3000\r"
    u"如果你选择按钮会爆炸\u3000分数在递增的过程中随时爆炸\u3000如果你来不及按'Stop'按钮的话\u3000你暂时获得的分数将全数送给你答错题的出题者\u3000如果你在分数爆炸之前按下'Stop'按钮\u3000则你将获得按下'Stop'按钮时的分数\u3000剩下的将送给你答错题的出题者.\r"
    u"值得注意的是\u3000你每次通5关所获得的分数将永远是你的\u3000不会带入爆煲游戏.\r\r"
    u"关于保存分数:你所获得的分数可以保存到星澜小站网站数据库里\u3000从而参加玩家积分排行棒\u3000所以\u3000当出现'问鼎五关--保存分数'的窗口时\u3000记住要在输入你在星澜小站注册的用户名和密码后\u3000点击'保存我的分数'的连接\u3000同时确认你的电脑是否已经连接Internet.";

// The help screen over the shown start screen.
struct FrmHelp : ScreenRig, ::testing::Test {
    FrmHelp() { RegisterAllScreens(screens); screens.Show(S::FrmStart); }
    Screen& Open() { return screens.Show(S::FrmHelp), *screens.Loaded(S::FrmHelp); }
    template <class T> T* Get(const char* name, int index = kNoIndex) { return Open().controls().Get<T>(name, index); }
};

} // namespace

TEST_F(FrmHelp, OpensModallyOverTheStartScreen)
{
    bool modal = false;
    QTimer::singleShot(0, [&] {
        Screen* help = screens.Loaded(S::FrmHelp);
        modal = help && help->isVisible() && help->windowModality() == Qt::ApplicationModal
             && screens.State(S::FrmStart) == ScreenState::Shown;
        if (help) help->close();
    });
    screens.Loaded(S::FrmStart)->controls().Get<Button>("CmdHelp")->click();
    EXPECT_TRUE(modal);
    EXPECT_EQ(screens.State(S::FrmHelp), ScreenState::NotLoaded);
}

// The rules as written; the examples, one paragraph a line, in seven lines.
TEST_F(FrmHelp, ShowsTheRulesAndTheExamplesAsWritten)
{
    EXPECT_TRUE(Open().windowTitle().startsWith(QStringLiteral("问鼎五关(Kessa Version)--教你玩 ")));
    EXPECT_EQ(Get<Label>("LblTime", 6)->Caption(), QString::fromUtf16(kRules));
    EXPECT_EQ(Get<Label>("LblTime", 10)->Caption().split(u'\r').size(), 7);
}

// The toggle lies over the pages and has the focus, so Space switches too.
TEST_F(FrmHelp, TheToggleSwitchesPagesByMouseAndBySpace)
{
    Screen& help = Open();
    Button* toggle = Get<Button>("Command2");
    Label* examples = Get<Label>("LblTime", 10);
    EXPECT_EQ(help.childAt(toggle->geometry().center()), toggle);
    help.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
    EXPECT_EQ(QApplication::focusWidget(), toggle);
    const auto page = [&] { return toggle->text() + (examples->isVisible() ? " examples" : " rules"); };
    QStringList pages{page()};
    QTest::mouseClick(toggle, Qt::LeftButton);
    pages << page();
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_EQ(pages << page(), (QStringList{"例如 rules", "看完 examples", "例如 rules"}));
}

TEST_F(FrmHelp, OpensAgainOnTheRules)
{
    QTest::mouseClick(Get<Button>("Command2"), Qt::LeftButton);
    QTest::mouseClick(Get<Button>("Command1"), Qt::LeftButton); // 退出, on the examples page
    ASSERT_EQ(screens.State(S::FrmHelp), ScreenState::NotLoaded);
    EXPECT_FALSE(Get<Label>("LblTime", 10)->isVisible());
    EXPECT_EQ(Get<Button>("Command2")->text(), QStringLiteral("例如"));
}
