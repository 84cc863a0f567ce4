// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The start screen on a generated question file, the other screens real and
// every side effect recorded. Whole games are in the e2e tests.
#include <gtest/gtest.h>

#include <QTest>

#include "fakes/BankFixture.h"
#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "ui/Screen.h"

using namespace wd;
using namespace wd::test;
using S = ScreenId;

namespace {

// The start screen on a generated question file, shown.
struct FrmStart : BankFixture, ScreenRig, ::testing::Test {
    FrmStart() : ScreenRig(File()) { RegisterAllScreens(screens); screens.Show(S::FrmStart); }
    template <class T> T* Get(const char* name) { return screens.Load(S::FrmStart).controls().Get<T>(name); }
};

} // namespace

// The lines break and space as written; the other texts stand in its layout alone.
TEST_F(FrmStart, ShowsItsTwoLinedTextsBrokenAndSpacedAsWritten)
{
    EXPECT_EQ(QStringList({Get<Label>("Lblremark")->Caption(), Get<Label>("Label3")->Caption()}),
              (QStringList{"问鼎五关\r接受全球澜迷大考验", "星澜小站\u3000http://www.xinglan.example/\r联系我们: webmaster@xinglan.example"}));
}

TEST_F(FrmStart, ItsLinksOpenTheSitesPages)
{
    for (const char* link : {"Label1", "Label4"}) Get<Label>(link)->Clicked();
    EXPECT_EQ(urls.opened, (QStringList{"http://www.xinglan.example/", "http://www.xinglan.example/asp/register/4-01.asp"}));
}

TEST_F(FrmStart, ALinkThatFailsOnceAGameHasStartedIsNotToldOverIt)
{
    urls.late = true;
    Get<Label>("Label4")->Clicked();
    Get<Button>("CmdStart")->click();
    urls.Decide(false);
    EXPECT_TRUE(messages.notices.empty());
    EXPECT_EQ(screens.State(S::Frmmain), ScreenState::Shown);
}

TEST_F(FrmStart, ItsQuitButtonEndsTheProgram)
{
    Get<Button>("CmdQuit")->click();
    EXPECT_EQ(programEnds, 1);
}

TEST_F(FrmStart, ItsCloseBoxEndsTheProgram)
{
    screens.Load(S::FrmStart).close();
    EXPECT_EQ(programEnds, 1);
}

TEST_F(FrmStart, ABlankIdIsRefused)
{
    TextBox* id = Get<TextBox>("TxtUserId");
    for (const auto& [blank, enter] : {std::pair("   ", Qt::Key_Return), std::pair("", Qt::Key_Enter)}) {
        id->setText(QString::fromLatin1(blank));
        QTest::keyClick(id, enter); // either Enter starts like the button
    }
    QTest::mouseClick(Get<Button>("CmdStart"), Qt::LeftButton); // which leaves the focus on the button
    EXPECT_EQ(messages.texts, QStringList(3, MessageText(MessageId::EnterUserId)));
    EXPECT_EQ(screens.Load(S::FrmStart).focusWidget(), id);
    EXPECT_EQ(screens.State(S::Frmmain), ScreenState::NotLoaded);
}

TEST_F(FrmStart, TheIdHoldsTwentyCharactersAsTheSitesIdsDo)
{
    QTest::keyClicks(Get<TextBox>("TxtUserId"), QStringLiteral("0123456789xyz"));
    EXPECT_EQ(Get<TextBox>("TxtUserId")->text(), QStringLiteral("glintora0123456789xy"));
}

// The start screen comes up whatever the file's state; its start button tries
// the file again, so a file that another program let go starts a game at once.
TEST_F(FrmStart, AFileHeldByAnotherProgramIsNamedAndStartsAGameOnceLetGo)
{
    screens.Unload(S::FrmStart); // to come up again on a file that another program holds
    std::optional<HeldLock> lock(std::in_place, File(), "begin exclusive");
    screens.Show(S::FrmStart);
    Get<Button>("CmdStart")->click();
    EXPECT_TRUE(messages.notices.size() == 1 && messages.notices[0].contains(QStringLiteral("正被另一个程序使用")))
        << messages.notices.join(u'|').toStdString();
    EXPECT_EQ(screens.State(S::Frmmain), ScreenState::NotLoaded);
    lock.reset();
    Get<Button>("CmdStart")->click();
    EXPECT_EQ(screens.State(S::Frmmain), ScreenState::Shown);
}
