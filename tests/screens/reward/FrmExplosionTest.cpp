#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "StandIn.h"
#include "fakes/AccessibleTree.h"
#include "fakes/ScreenRig.h"
#include "platform/AppPaths.h"
#include "screens/quiz/Frmmain.h"
#include "screens/reward/FrmExplosion.h"

using namespace wd;
using namespace wd::test;

namespace {

// r values that make the pick come out as wanted.
constexpr float kSafeIs1 = 0.5f;                      // floor(3r) = 1
constexpr float PercentR(int k) { return (k - 40 + 0.5f) / 60; } // floor(60r + 40) = k

class Explosion : public ::testing::Test {
protected:
    void SetUp() override
    {
        StandIn::RegisterAs(rig.screens, ScreenId::FrmStart, backdrop);
        StandIn::RegisterAs(rig.screens, ScreenId::FrmSaveMoney, save);
        rig.screens.Register<FrmExplosion>();
        rig.screens.Show(ScreenId::FrmStart); // some window stays up throughout
        // Fails the test rather than hang if a modal loop is never left.
        QTimer::singleShot(10000, &rig.screens, [this] {
            ADD_FAILURE() << "modal loop not left in time";
            rig.screens.EndProgram();
        });
    }
    FrmExplosion& Open(std::int32_t stake)
    {
        rig.session.StakeScore = stake;
        rig.screens.Show(FrmExplosion::kId);
        return Window();
    }
    FrmExplosion& Window() { return rig.screens.Get<FrmExplosion>(); }
    bool Gone() const { return rig.screens.State(FrmExplosion::kId) == ScreenState::NotLoaded; }
    // Pick button 1: safe, or exploding at k % of the stake.
    void PickSafe() { Pick(1, {kSafeIs1}); }
    void PickExploding(int k) { Pick(0, {kSafeIs1, PercentR(k)}); }
    void Pick(int index, std::initializer_list<float> draws)
    {
        for (float r : draws) rig.random.Push(r);
        Window().CmdNum_Click(index);
    }
    // Ticks until the counter ends or shows `until`; returns what it showed.
    QStringList TickUntil(const QString& until = {})
    {
        QStringList shown{Window().label("LblScore")->Caption()};
        for (int i = 0; i < 200 && !Window().Ended() && shown.last() != until; ++i) {
            Window().Timer1_Timer();
            shown << Window().label("LblScore")->Caption();
        }
        return shown;
    }
    QString Display() { return Window().label("LblScore")->Caption(); }
    bool ShowsExploded() { return Display() == QStringLiteral("爆") && Window().label("LblScore")->BackColor() == QColor(0xFF, 0, 0); }
    void Continue()
    {
        ASSERT_TRUE(Window().Ended());
        Window().CmdStop_Click();
    }

    ScreenRig rig;
    StandInLog backdrop, save;
};

} // namespace

TEST_F(Explosion, OpensWithTheStakeInTheMessageAndTheTitlePlateOverTheCount)
{
    FrmExplosion& w = Open(20000);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("问鼎五关(Kessa Version)--爆煲游戏"));
    EXPECT_EQ(w.size(), QSize(284, 209));
    EXPECT_EQ(w.label("Label2")->Caption(), QStringLiteral("你目前获得的分数:\r20000"));
    EXPECT_EQ(Display(), QStringLiteral("0"));
    EXPECT_TRUE(w.label("Label1")->isVisible());
    EXPECT_EQ(w.KeptScore, 20000);
    EXPECT_FALSE(w.button("CmdStop")->isEnabled());
    EXPECT_EQ(w.button("CmdStop")->text(), QStringLiteral("&Stop!!!"));
    EXPECT_FALSE(w.timer("Timer1")->isActive());
    EXPECT_EQ(w.focusWidget(), w.button("CmdNum", 0));
    EXPECT_EQ(w.movie("SwfBackground")->Movie(), QString::fromStdString(MovieFile("explore.swf").string()));
}

TEST_F(Explosion, PickGreysThePressedButtonHidesTheOthersAndStartsTheCountAfterOneSecond)
{
    FrmExplosion& w = Open(10000);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const int reseedsBefore = rig.random.reseeds;
    Pick(2, {0.9f}); // floor(2.7) = 2: the pressed button is the safe one
    EXPECT_EQ(rig.random.reseeds, reseedsBefore + 1);
    EXPECT_EQ(rig.random.draws, 1); // a safe pick needs no explosion point
    EXPECT_EQ(w.SafeIndex, 2);
    EXPECT_EQ(w.ExplodeAt, 10001);
    EXPECT_TRUE(w.button("CmdNum", 2)->isVisible());
    EXPECT_FALSE(w.button("CmdNum", 2)->isEnabled());
    EXPECT_FALSE(w.button("CmdNum", 0)->isVisible());
    EXPECT_FALSE(w.button("CmdNum", 1)->isVisible());
    EXPECT_FALSE(w.label("Label1")->isVisible());
    EXPECT_TRUE(w.button("CmdStop")->isEnabled());
    EXPECT_EQ(w.focusWidget(), w.button("CmdStop"));
    EXPECT_TRUE(w.timer("Timer1")->isActive());
    EXPECT_EQ(w.timer("Timer1")->interval(), 1000);
    EXPECT_FALSE(w.Stopped);
    EXPECT_EQ(w.movie("SwfBackground")->Movie(), QString::fromStdString(MovieFile("baobao.swf").string()));
}

TEST_F(Explosion, EachTickReseedsAndSetsTheNextWait)
{
    FrmExplosion& w = Open(40000);
    PickSafe();
    for (float r : {0.99f, 0.25f}) {
        rig.random.Push(r);
        const int reseeds = rig.random.reseeds;
        w.Timer1_Timer();
        EXPECT_EQ(rig.random.reseeds, reseeds + 1);
        EXPECT_EQ(w.timer("Timer1")->interval(), r > 0.5f ? 5000 : 2000);
        EXPECT_TRUE(w.timer("Timer1")->isActive());
    }
}

TEST_F(Explosion, TheTimersOwnTicksDriveTheCount)
{
    FrmExplosion& w = Open(5000);
    rig.random.Push(kSafeIs1);
    rig.random.Push(0.0f); // every later wait one second
    w.timer("Timer1")->setInterval(20); // shortened so the test does not wait a second
    w.CmdNum_Click(1);
    EXPECT_TRUE(ScreenRig::WaitUntil([&] { return Display() == QStringLiteral("200"); }, 3000));
}

TEST_F(Explosion, SafeButtonWithoutStopCountsToTheStakeAndKeepsIt)
{
    FrmExplosion& w = Open(5000);
    PickSafe();
    EXPECT_EQ(TickUntil(), QStringList({"0", "200", "400", "600", "800", "1000", "2000", "3000", "4000", "5000"}));
    EXPECT_EQ(w.button("CmdStop")->text(), QStringLiteral("继续"));
    EXPECT_TRUE(w.button("CmdStop")->isEnabled());
    EXPECT_FALSE(w.timer("Timer1")->isActive());
    EXPECT_EQ(rig.session.StakeScore, 5000);
    EXPECT_EQ(rig.session.ProviderScore, 0);
    Continue(); // the window is gone before the score screen opens
    EXPECT_TRUE(Gone());
    EXPECT_EQ(save.watchedAtLoad, ScreenState::NotLoaded);
    EXPECT_EQ(save.modalShows, 1);
}

TEST_F(Explosion, ExplodingButtonWithoutStopGivesTheProviderEverything)
{
    FrmExplosion& w = Open(20000);
    PickExploding(63); // 12600
    EXPECT_EQ(w.ExplodeAt, 12600);
    EXPECT_EQ(TickUntil().last(), QStringLiteral("爆"));
    EXPECT_EQ(w.Count(), 13000);
    EXPECT_TRUE(ShowsExploded());
    EXPECT_EQ(w.button("CmdStop")->text(), QStringLiteral("继续"));
    EXPECT_FALSE(w.timer("Timer1")->isActive());
    EXPECT_EQ(rig.session.StakeScore, 0);
    EXPECT_EQ(rig.session.ProviderScore, 20000);
}

TEST_F(Explosion, ExplodingCountLandingOnTheStakeEndsExploded)
{
    FrmExplosion& w = Open(5000);
    PickExploding(99); // 4950: passed only by the step from 4000 to 5000
    TickUntil();
    EXPECT_EQ(w.Count(), 5000);
    EXPECT_TRUE(ShowsExploded());
    EXPECT_EQ(rig.session.StakeScore, 0);
    EXPECT_EQ(rig.session.ProviderScore, 5000);
}

TEST_F(Explosion, StopThenCancelKeepsTheCountAndLeavesAtOnce)
{
    FrmExplosion& w = Open(20000);
    PickExploding(90);
    TickUntil(QStringLiteral("15000"));
    rig.messages.Script(Answer::Cancel);
    w.CmdStop_Click();
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].id, MessageId::AskWhenExplode);
    EXPECT_EQ(rig.session.StakeScore, 15000);
    EXPECT_EQ(rig.session.ProviderScore, 5000);
    EXPECT_TRUE(Gone());
    EXPECT_EQ(save.modalShows, 1);
    EXPECT_EQ(save.watchedAtLoad, ScreenState::NotLoaded);
}

TEST_F(Explosion, StopThenOkWithTheSafeButtonRunsOnToTheStakeButKeepsTheStoppedCount)
{
    FrmExplosion& w = Open(20000);
    PickSafe();
    TickUntil(QStringLiteral("15000"));
    w.CmdStop_Click(); // OK: watch the rest
    EXPECT_TRUE(w.Stopped);
    EXPECT_EQ(w.KeptScore, 15000);
    EXPECT_FALSE(w.button("CmdStop")->isEnabled());
    EXPECT_TRUE(w.timer("Timer1")->isActive());
    EXPECT_EQ(TickUntil().last(), QStringLiteral("20000"));
    EXPECT_TRUE(w.button("CmdStop")->isEnabled());
    EXPECT_EQ(rig.session.StakeScore, 15000);
    EXPECT_EQ(rig.session.ProviderScore, 5000);
}

TEST_F(Explosion, StopThenOkWithAnExplosionShowsItButKeepsTheStoppedCount)
{
    FrmExplosion& w = Open(20000);
    PickExploding(90);
    EXPECT_EQ(w.ExplodeAt, 18000);
    TickUntil(QStringLiteral("15000"));
    w.CmdStop_Click();
    TickUntil();
    EXPECT_EQ(w.Count(), 18000);
    EXPECT_TRUE(ShowsExploded());
    EXPECT_EQ(rig.session.StakeScore, 15000);
    EXPECT_EQ(rig.session.ProviderScore, 5000);
    Continue();
    EXPECT_TRUE(Gone());
    EXPECT_EQ(save.modalShows, 1);
}

TEST_F(Explosion, StopBeforeTheFirstTickGivesTheProviderEverythingWhateverTheAnswer)
{
    for (Answer answer : {Answer::Ok, Answer::Cancel}) {
        rig.session.ProviderScore = 0;
        FrmExplosion& w = Open(10000);
        PickSafe();
        rig.messages.Script(answer);
        w.CmdStop_Click();
        if (answer == Answer::Ok) {
            TickUntil();
            EXPECT_EQ(Display(), QStringLiteral("10000"));
            Continue();
        }
        EXPECT_TRUE(Gone());
        EXPECT_EQ(rig.session.StakeScore, 0) << (answer == Answer::Ok ? "OK" : "Cancel");
        EXPECT_EQ(rig.session.ProviderScore, 10000);
        ScreenRig::FlushDeletes();
    }
    EXPECT_EQ(save.modalShows, 2);
}

TEST_F(Explosion, CloseBoxIsIgnoredUntilTheCountEndsThenContinues)
{
    FrmExplosion& w = Open(5000);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.close(); // choosing
    EXPECT_FALSE(Gone());
    PickSafe();
    TickUntil(QStringLiteral("2000"));
    w.close(); // counting
    EXPECT_FALSE(Gone());
    rig.messages.Script(Answer::Ok);
    w.CmdStop_Click();
    w.close(); // watching
    EXPECT_FALSE(Gone());
    TickUntil();
    EXPECT_EQ(save.loads, 0);
    w.close(); // finished
    EXPECT_TRUE(Gone());
    EXPECT_EQ(save.modalShows, 1);
    EXPECT_EQ(rig.session.StakeScore, 2000);
}

// The quiz screen's side: a wrong answer with a stake opens the gamble modally,
// and the quiz screen unloads itself once the gamble and the score screen are gone.
TEST_F(Explosion, WrongAnswerWithAStakeGoesThroughTheGambleToTheScoreScreen)
{
    rig.screens.Register<Frmmain>();
    rig.session.StartGame(QStringLiteral("kessa"));
    rig.session.Level = 3; // levels 1 and 2 cleared: 10000 at stake
    rig.session.StakeScore = 10000;
    rig.session.CorrectAnswer = QStringLiteral("right");
    rig.screens.Show(Frmmain::kId);
    Frmmain& quiz = rig.screens.Get<Frmmain>();
    quiz.label("LblProvider")->SetCaption(QStringLiteral("fan7"));
    quiz.edit("Txtanswer")->setText(QStringLiteral("wrong"));

    bool modal = false;
    QTimer::singleShot(0, &rig.screens, [&] {
        FrmExplosion& w = Window();
        modal = w.windowModality() == Qt::ApplicationModal && w.isVisible();
        PickExploding(40); // 4000
        TickUntil();
        w.CmdStop_Click(); // "继续"
    });
    quiz.CmdOK_Click();

    EXPECT_TRUE(modal);
    EXPECT_TRUE(Gone());
    EXPECT_EQ(rig.screens.State(Frmmain::kId), ScreenState::NotLoaded);
    EXPECT_EQ(save.modalShows, 1);
    EXPECT_EQ(rig.session.StakeScore, 0);
    EXPECT_EQ(rig.session.ProviderScore, 10000);
    EXPECT_EQ(rig.session.ProviderName, QStringLiteral("fan7"));
}

TEST_F(Explosion, AScreenReaderFollowsTheCountToItsEnd)
{
    FrmExplosion& w = Open(1000);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&w)->text(QAccessible::Description).startsWith(u"爆煲游戏"));
    auto nodes = AccessibleNodes(w);
    EXPECT_EQ(NodeOf(nodes, w.label("Label2")).name, QStringLiteral("你目前获得的分数: 1000")); // the line break
    EXPECT_EQ(NodeOf(nodes, w.label("LblScore")).name, QStringLiteral("计数：0"));
    EXPECT_EQ(NodeOf(nodes, w.button("CmdNum", 1)).name, QStringLiteral("2"));
    const auto stop = NodeOf(nodes, w.button("CmdStop"));
    EXPECT_EQ(stop.role, QAccessible::Button);
    EXPECT_EQ(stop.name, QStringLiteral("Stop!!!"));

    PickSafe();
    w.Timer1_Timer();
    EXPECT_EQ(NodeOf(AccessibleNodes(w), w.label("LblScore")).name, QStringLiteral("计数：") + w.label("LblScore")->Caption());
    TickUntil();
    nodes = AccessibleNodes(w);
    EXPECT_EQ(NodeOf(nodes, w.button("CmdStop")).name, QStringLiteral("继续"));
    EXPECT_EQ(NodeOf(nodes, w.label("LblScore")).name, QStringLiteral("计数：1000"));
}
