#include <gtest/gtest.h>

#include "PlayRig.h"

using namespace wd;
using namespace wd::test;

TEST(FrmStart, LoadsWithTheBankOpenAndTheIdBoxReady)
{
    PlayRig p;
    EXPECT_TRUE(p.rig.bank.Usable());
    EXPECT_EQ(p.rig.session.QuestionCount, 159);
    EXPECT_EQ(p.rig.session.EasyCount, 33);
    EXPECT_EQ(p.start().label("Lblremark")->Caption(), QStringLiteral("问鼎五关\r接受全球澜迷大考验"));
    EXPECT_EQ(p.start().edit("TxtUserId")->text(), QStringLiteral("glintora"));
    EXPECT_EQ(p.start().windowTitle(), QStringLiteral("问鼎五关(Kessa Version)--星澜小站"));
    EXPECT_TRUE(p.start().movie("ShockwaveFlash1")->Movie().endsWith(QStringLiteral("/swf/bantou.swf")));
    EXPECT_TRUE(p.start().label("Label3")->Caption().contains(QStringLiteral("http://www.xinglan.example/")));
}

TEST(FrmStart, ABlankIdIsRefusedAndChangesNothing)
{
    PlayRig p;
    p.rig.session.Level = 4;
    p.rig.session.StakeScore = 777;
    for (const QString& id : {QStringLiteral("   "), QString()}) {
        p.start().edit("TxtUserId")->setText(id);
        QTest::keyClick(p.start().edit("TxtUserId"), Qt::Key_Return); // Enter starts like the button
        ASSERT_FALSE(p.rig.messages.shown.empty());
        EXPECT_EQ(p.rig.messages.shown.back().id, MessageId::EnterUserId);
    }
    p.SignIn(QStringLiteral("  "));
    EXPECT_EQ(p.rig.messages.shown.size(), 3u);
    EXPECT_EQ(p.rig.session.Level, 4);
    EXPECT_EQ(p.rig.session.StakeScore, 777);
    EXPECT_TRUE(p.rig.session.PlayerId.isEmpty());
    EXPECT_EQ(p.State(ScreenId::Frmmain), ScreenState::NotLoaded);
    EXPECT_EQ(p.start().focusWidget(), p.start().edit("TxtUserId"));
}

TEST(FrmStart, AnIdWithSpacesStartsAGameAndIsKeptAsTyped)
{
    PlayRig p;
    p.SignIn(QStringLiteral(" lan mi "));
    EXPECT_EQ(p.rig.session.PlayerId, QStringLiteral(" lan mi "));
    EXPECT_EQ(p.State(ScreenId::Frmmain), ScreenState::Shown);
    EXPECT_EQ(p.State(ScreenId::FrmStart), ScreenState::Hidden);
    EXPECT_EQ(p.Caption("LblPlayer"), QStringLiteral(" lan mi "));
    EXPECT_EQ(p.Caption("LblTime"), QStringLiteral("240"));
    EXPECT_TRUE(p.quiz()->button("CmdStart")->isVisible());
}

TEST(FrmStart, AnUnusableQuestionFileIsNamedAndNoGameStarts)
{
    BankFixture f;
    f.Sql("drop table easy");
    ScreenRig rig(f.File());
    rig.screens.Register<FrmStart>();
    rig.screens.Register<Frmmain>();
    rig.screens.Show(ScreenId::FrmStart);
    rig.screens.Get<FrmStart>().button("CmdStart")->click();
    ASSERT_EQ(rig.messages.notices.size(), 1u);
    EXPECT_TRUE(rig.messages.notices[0].contains(QString::fromStdString(f.File().string())));
    EXPECT_EQ(rig.screens.State(ScreenId::Frmmain), ScreenState::NotLoaded);
    EXPECT_EQ(rig.screens.State(ScreenId::FrmStart), ScreenState::Shown);
}

TEST(FrmStart, LinksOpenTheSitesPagesAndKeepTheirCaptions)
{
    PlayRig p;
    p.start().label("Label1")->Clicked();
    p.start().label("Label4")->Clicked();
    p.start().label("Label4")->Clicked();
    EXPECT_EQ(p.rig.urls.opened, (QStringList{QStringLiteral("http://www.xinglan.example/"),
                                             QStringLiteral("http://www.xinglan.example/asp/register/4-01.asp"),
                                             QStringLiteral("http://www.xinglan.example/asp/register/4-01.asp")}));
    EXPECT_EQ(p.start().label("Label4")->Caption(), QStringLiteral("新用户注册"));

    p.rig.urls.answer = false; // no browser at all
    p.start().label("Label1")->Clicked();
    ASSERT_EQ(p.rig.messages.notices.size(), 1u);
    EXPECT_TRUE(p.rig.messages.notices[0].contains(QStringLiteral("http://www.xinglan.example/")));
    EXPECT_EQ(p.start().label("Label1")->Caption(), QStringLiteral("到星澜小站升级"));
}

TEST(FrmStart, QuitAndTheCloseBoxEndTheProgram)
{
    PlayRig p;
    p.start().button("CmdQuit")->click();
    EXPECT_EQ(p.rig.programEnds, 1);
    PlayRig q;
    q.start().close();
    EXPECT_EQ(q.rig.programEnds, 1);
}

TEST(FrmStart, HelpOpensModallyAndTheStartScreenWaits)
{
    PlayRig p;
    const int before = StandIn<ScreenId::FrmHelp>::modalShows;
    p.start().button("CmdHelp")->click();
    EXPECT_EQ(StandIn<ScreenId::FrmHelp>::modalShows, before + 1);
    EXPECT_EQ(p.State(ScreenId::FrmStart), ScreenState::Shown);
}
