#include <gtest/gtest.h>

#include <QTest>

#include "StandIn.h"
#include "fakes/BankFixture.h"
#include "fakes/ScreenRig.h"
#include "platform/AppPaths.h"
#include "screens/quiz/Frmmain.h"
#include "screens/reward/FrmCountUp.h"

using namespace wd;
using namespace wd::test;

namespace {

QString Movie(const char* name) { return QString::fromStdString(MovieFile(name).string()); }

class Tally : public ::testing::Test {
protected:
    void SetUp() override
    {
        StandIn::RegisterAs(rig.screens, ScreenId::FrmSaveMoney, save);
        rig.screens.Register<Frmmain>();
        rig.screens.Register<FrmCountUp>();
        // Questions drawn by going on come from spread-out ids.
        for (int i = 0; i < 500; ++i) rig.random.Push(((i * 37) % 159 + 0.5f) / 159);
        rig.bank.OpenQuestionBank();
        rig.session.StartGame(QStringLiteral("kessa"));
    }
    // The moment after the quiz screen cleared `level`: quiz hidden, tally shown.
    FrmCountUp& ClearedLevel(int level, std::int32_t stake)
    {
        Module1& m = rig.session;
        m.Level = static_cast<std::int16_t>(level);
        m.StakeScore = stake;
        m.QuestionsLeft = 0;
        rig.screens.Show(Frmmain::kId);
        rig.screens.Show(FrmCountUp::kId);
        rig.screens.Hide(Frmmain::kId);
        return TallyScreen();
    }
    FrmCountUp& TallyScreen() { return rig.screens.Get<FrmCountUp>(); }
    Frmmain& Quiz() { return rig.screens.Get<Frmmain>(); }
    QString Caption(Screen& s, const char* name, int index = kNoIndex) { return s.label(name, index)->Caption(); }
    QStringList Slots()
    {
        QStringList captions;
        for (int i = 0; i < 5; ++i) captions << Caption(Quiz(), "Lblque", i);
        return captions;
    }
    QStringList Marks(Screen& s)
    {
        return {Caption(s, "LblEasy", 0), Caption(s, "LblEasy", 1), Caption(s, "LblEasy", 2)};
    }

    BankFixture file;
    ScreenRig rig{file.File()};
    StandInLog save;
};

} // namespace

TEST_F(Tally, FirstTallyShowsLevelOneWithoutAFixedScore)
{
    rig.session.TimeLeft = 187;
    rig.session.EasyLeft = 2;
    FrmCountUp& t = ClearedLevel(1, 5000);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t));
    EXPECT_EQ(t.windowTitle(), QStringLiteral("问鼎五关(Kessa Version)--成绩总结"));
    EXPECT_EQ(t.size(), QSize(312, 260));
    EXPECT_EQ(Caption(t, "Label1"), QStringLiteral("第1关成绩"));
    EXPECT_FALSE(t.label("LblFixScore")->isVisible());
    EXPECT_EQ(Caption(t, "LblScore"), QStringLiteral("5000"));
    EXPECT_EQ(Caption(t, "LblRemainTime"), QStringLiteral("187"));
    EXPECT_EQ(Marks(t), QStringList({"X", "→", "→"}));
    EXPECT_EQ(Caption(t, "Label4"), QStringLiteral("未到结局,继唔继续?"));
    EXPECT_EQ(t.focusWidget(), t.button("OKButton"));
    EXPECT_EQ(t.movie("ShockwaveFlash1")->Movie(), Movie("noend.swf"));
    EXPECT_EQ(rig.screens.State(Frmmain::kId), ScreenState::Hidden);
}

TEST_F(Tally, TallyAfterLevelFiveShowsTheBankedRuns)
{
    rig.session.ClearCount = 2; // the quiz screen has counted this run already
    FrmCountUp& t = ClearedLevel(5, 100000);
    EXPECT_EQ(Caption(t, "Label1"), QStringLiteral("第5关成绩"));
    EXPECT_TRUE(t.label("LblFixScore")->isVisible());
    EXPECT_EQ(Caption(t, "LblFixScore"), QStringLiteral("200000"));
    EXPECT_EQ(Caption(t, "LblScore"), QStringLiteral("100000"));
}

TEST_F(Tally, GoingOnSetsUpTheNextLevelAndDrawsAQuestionAfterShowingTheQuiz)
{
    rig.session.PassesLeft = 1;
    ClearedLevel(2, 10000);
    Quiz().label("Lblque", 4)->SetBackColor(QColor(0xC0, 0xFF, 0xFF)); // a pass used in level 2
    Quiz().label("LblEasyLable")->show();
    Quiz().label("LblNo")->SetCaption(QStringLiteral("3"));
    Quiz().label("LblTime")->SetCaption(QStringLiteral("151"));
    TallyScreen().OKButton_Click();

    EXPECT_EQ(rig.screens.State(FrmCountUp::kId), ScreenState::NotLoaded);
    EXPECT_EQ(rig.screens.State(Frmmain::kId), ScreenState::Shown);
    Frmmain& q = Quiz();
    EXPECT_EQ(rig.session.Level, 3);
    EXPECT_EQ(rig.session.QuestionsLeft, 3);
    EXPECT_EQ(rig.session.PassesLeft, 2);
    EXPECT_EQ(Slots(), QStringList({"O", "O", "O", "", ""}));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(q.label("Lblque", i)->BackColor(), QColor(0, 0, 0xC0)) << i;
    EXPECT_EQ(Caption(q, "LblPlayscore"), QStringLiteral("10000"));
    EXPECT_TRUE(q.button("CmdPass")->isEnabled());
    EXPECT_EQ(Caption(q, "LblNo"), QStringLiteral("1"));
    EXPECT_FALSE(q.label("LblEasyLable")->isVisible());
    EXPECT_EQ(Caption(q, "LblTime"), QStringLiteral("151")); // the clock is not refilled between levels
    EXPECT_EQ(q.frame("Fraquestion")->Caption(), QStringLiteral("第3 关题目\u3000"));
    EXPECT_TRUE(q.timer("Timer1")->isActive());
    // The drawn question is on screen, its provider in place of the emptied one.
    EXPECT_TRUE(rig.bank.DrawError().isEmpty());
    EXPECT_EQ(Caption(q, "Lblquestion"), QStringLiteral("question %1 ____").arg(rig.session.QuestionId));
    EXPECT_EQ(Caption(q, "LblProvider"), rig.session.ProviderName);
    EXPECT_FALSE(rig.session.ProviderName.isEmpty());
    EXPECT_EQ(q.movie("SwfBackground")->Movie(), Movie("3.swf"));
}

TEST_F(Tally, GoingOnAfterLevelFourLeavesNoPassesAtLevelFive)
{
    rig.session.PassesLeft = 0;
    ClearedLevel(4, 40000);
    TallyScreen().OKButton_Click();
    EXPECT_EQ(Slots(), QStringList({"O", "O", "O", "O", "O"}));
    EXPECT_FALSE(Quiz().button("CmdPass")->isEnabled());
    EXPECT_EQ(rig.session.PassesLeft, 0);
    EXPECT_EQ(rig.session.QuestionsLeft, 5);
    EXPECT_EQ(Caption(Quiz(), "LblPlayscore"), QStringLiteral("40000"));
}

TEST_F(Tally, GoingOnAfterLevelFiveStartsANewRunOnAFullClock)
{
    rig.session.ClearCount = 1;
    rig.session.EasyLeft = 0;
    ClearedLevel(5, 100000);
    Quiz().label("LblTime")->SetCaption(QStringLiteral("12"));
    Quiz().label("LblTime")->SetForeColor(QColor(0xFF, 0, 0));
    Quiz().button("CmdEasy")->setEnabled(false);
    Quiz().label("LblPlayscore")->SetCaption(QStringLiteral("200000")); // as the cleared run left it
    TallyScreen().OKButton_Click();

    Frmmain& q = Quiz();
    EXPECT_EQ(rig.session.Level, 1);
    EXPECT_EQ(rig.session.StakeScore, 0);
    EXPECT_EQ(rig.session.EasyLeft, 3);
    EXPECT_EQ(rig.session.ClearCount, 1);
    EXPECT_EQ(rig.session.PassesLeft, 4);
    EXPECT_EQ(Caption(q, "LblTime"), QStringLiteral("240"));
    EXPECT_EQ(q.label("LblTime")->ForeColor(), QColor(0xC0, 0xFF, 0xFF));
    EXPECT_EQ(Marks(q), QStringList({"→", "→", "→"}));
    EXPECT_TRUE(q.button("CmdEasy")->isEnabled());
    EXPECT_EQ(Caption(q, "LblPlayscore"), QStringLiteral("100000"));
    EXPECT_EQ(Slots(), QStringList({"O", "", "", "", ""}));
    EXPECT_EQ(q.frame("Fraquestion")->Caption(), QStringLiteral("第1 关题目\u3000"));
    EXPECT_EQ(q.movie("SwfBackground")->Movie(), Movie("1.swf"));
}

TEST_F(Tally, NoEasyChancesLeftShowThreeCrossesOnBothScreens)
{
    rig.session.EasyLeft = 0;
    FrmCountUp& t = ClearedLevel(2, 10000);
    EXPECT_EQ(Marks(t), QStringList({"X", "X", "X"}));
    Quiz().ShowEasyMarks(3); // whatever the quiz showed before
    t.OKButton_Click();
    EXPECT_EQ(Marks(Quiz()), QStringList({"X", "X", "X"}));
}

TEST_F(Tally, StoppingOrClosingOpensTheScoreScreenAndUnloadsTheQuiz)
{
    for (int level : {1, 5}) {
        FrmCountUp& t = ClearedLevel(level, level == 5 ? 100000 : 5000);
        if (level == 1)
            t.CancelButton_Click();
        else
            t.close(); // the close box stops as the stop button does
        EXPECT_EQ(rig.screens.State(FrmCountUp::kId), ScreenState::NotLoaded) << level;
        EXPECT_EQ(rig.screens.State(Frmmain::kId), ScreenState::NotLoaded) << level;
        EXPECT_EQ(rig.screens.State(ScreenId::FrmSaveMoney), ScreenState::Shown) << level;
        EXPECT_EQ(rig.screens.Loaded(ScreenId::FrmSaveMoney)->windowModality(), Qt::NonModal);
        EXPECT_EQ(rig.session.StakeScore, level == 5 ? 100000 : 5000); // left for the score screen
        rig.screens.Unload(ScreenId::FrmSaveMoney);
        ScreenRig::FlushDeletes();
    }
    EXPECT_EQ(save.loads, 2);
}

// A whole run on the quiz screen: every level cleared with its right answers,
// a tally after each, and level 1 of a new run with the banked 100000.
TEST_F(Tally, AWholeRunPassesThroughATallyAfterEveryLevel)
{
    rig.screens.Show(Frmmain::kId);
    Frmmain& q = Quiz();
    q.CmdStart_Click();
    for (int level = 1; level <= 5; ++level) {
        for (int answer = 0; answer < level; ++answer) {
            ASSERT_EQ(rig.screens.State(Frmmain::kId), ScreenState::Shown) << level;
            q.edit("Txtanswer")->setText(rig.session.CorrectAnswer);
            q.CmdOK_Click();
        }
        ASSERT_EQ(rig.screens.State(FrmCountUp::kId), ScreenState::Shown) << level;
        EXPECT_EQ(rig.screens.State(Frmmain::kId), ScreenState::Hidden);
        EXPECT_FALSE(q.timer("Timer1")->isActive());
        EXPECT_EQ(Caption(TallyScreen(), "Label1"), QStringLiteral("第%1关成绩").arg(level));
        TallyScreen().OKButton_Click();
    }
    EXPECT_EQ(rig.session.Level, 1);
    EXPECT_EQ(rig.session.ClearCount, 1);
    EXPECT_EQ(Caption(q, "LblPlayscore"), QStringLiteral("100000"));
    EXPECT_EQ(Caption(q, "LblTime"), QStringLiteral("240"));
    EXPECT_TRUE(q.timer("Timer1")->isActive());
    EXPECT_EQ(rig.messages.shown.size(), 5u); // "恭喜!你过关啦!!" once a level
}
