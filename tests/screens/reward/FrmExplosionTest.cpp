// The gamble on its own, behind a stand-in start screen, with a stand-in
// score screen that notes how it was opened. The e2e roads play one stop and
// one explosion; here is the whole table of picks and stops.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "StandIn.h"
#include "fakes/AccessibleTree.h"
#include "fakes/ScreenRig.h"
#include "platform/AppPaths.h"
#include "screens/reward/FrmExplosion.h"

using namespace wd;
using namespace wd::test;

namespace {

QString Movie(const char* name) { return QString::fromStdString(MovieFile(name).string()); }
const QColor kRed(0xFF, 0, 0);

class Explosion : public ::testing::Test {
protected:
    void SetUp() override
    {
        StandIn::RegisterAs(rig.screens, ScreenId::FrmStart, backdrop);
        StandIn::RegisterAs(rig.screens, ScreenId::FrmSaveMoney, save);
        rig.screens.Register<FrmExplosion>();
        rig.screens.Show(ScreenId::FrmStart); // some window stays up throughout
        QTimer::singleShot(10000, &rig.screens, [this] {
            ADD_FAILURE() << "modal loop not left in time";
            rig.screens.EndProgram();
        });
    }
    FrmExplosion& Open(std::int32_t stake)
    {
        rig.session.StakeScore = stake;
        rig.session.ProviderScore = 0;
        rig.screens.Show(FrmExplosion::kId);
        return W();
    }
    FrmExplosion& W() { return rig.screens.Get<FrmExplosion>(); }
    const ControlSet& c() { return W().controls(); }
    bool Gone() const { return rig.screens.State(FrmExplosion::kId) == ScreenState::NotLoaded; }
    // Button 1, the safe one (floor(3r) = 1), or exploding at k % of the stake.
    void Pick(int explodePercent = 0)
    {
        rig.random.Push(0.5f);
        if (explodePercent) rig.random.Push((explodePercent - 40 + 0.5f) / 60); // floor(60r + 40) = k
        W().CmdNum_Click(explodePercent ? 0 : 1);
    }
    // Ticks until the counter ends or shows `until`; returns what it showed.
    QStringList TickUntil(const QString& until = {})
    {
        QStringList shown{Display()};
        for (int i = 0; i < 200 && !W().Ended() && shown.last() != until; ++i) {
            W().Timer1_Timer();
            shown << Display();
        }
        return shown;
    }
    QString Display() { return c().Get<Label>("LblScore")->Caption(); }

    ScreenRig rig;
    StandInLog backdrop, save;
};

} // namespace

TEST_F(Explosion, OpensOnTheStakeAndAPickHidesTheOtherButtonsAndStartsTheCount)
{
    FrmExplosion& w = Open(10000);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(c().Get<Label>("Label2")->Caption(), QStringLiteral("你目前获得的分数:\r10000"));
    EXPECT_FALSE(c().Get<Button>("CmdStop")->isEnabled());
    EXPECT_EQ(w.focusWidget(), c().Get<Button>("CmdNum", 0));
    EXPECT_EQ(c().Get<AnimationPanel>("SwfBackground")->Movie(), Movie("explore.swf"));

    rig.random.Push(0.9f); // floor(2.7) = 2: the pressed button is the safe one
    w.CmdNum_Click(2);
    EXPECT_EQ(rig.random.reseeds, 1);
    EXPECT_EQ(rig.random.draws, 1); // a safe pick needs no explosion point
    EXPECT_EQ(w.Gamble().ExplodeAt, 10001);
    EXPECT_FALSE(c().Get<Button>("CmdNum", 2)->isEnabled());
    EXPECT_TRUE(c().Get<Button>("CmdNum", 2)->isVisible());
    EXPECT_FALSE(c().Get<Button>("CmdNum", 0)->isVisible() || c().Get<Button>("CmdNum", 1)->isVisible()
                 || c().Get<Label>("Label1")->isVisible());
    EXPECT_TRUE(c().Get<Button>("CmdStop")->isEnabled());
    EXPECT_EQ(w.focusWidget(), c().Get<Button>("CmdStop"));
    EXPECT_EQ(c().Get<QTimer>("Timer1")->interval(), 1000);
    EXPECT_EQ(c().Get<AnimationPanel>("SwfBackground")->Movie(), Movie("baobao.swf"));

    // Each tick reseeds and waits one to five seconds for the next.
    for (float r : {0.99f, 0.25f, 0.0f}) {
        rig.random.Push(r);
        w.Timer1_Timer();
        EXPECT_EQ(c().Get<QTimer>("Timer1")->interval(), 1000 * (1 + static_cast<int>(5 * r)));
        EXPECT_TRUE(c().Get<QTimer>("Timer1")->isActive());
    }
    EXPECT_EQ(rig.random.reseeds, 4);
    EXPECT_EQ(TickUntil(), QStringList({"600", "800", "1000", "2000", "3000", "4000", "5000", "6000", "7000", "8000",
                                        "9000", "10000"}));
}

TEST_F(Explosion, TheTimersOwnTicksDriveTheCount)
{
    FrmExplosion& w = Open(5000);
    rig.random.Push(0.5f);
    rig.random.Push(0.0f); // every later wait one second
    c().Get<QTimer>("Timer1")->setInterval(20); // shortened so the test does not wait a second
    w.CmdNum_Click(1);
    EXPECT_TRUE(ScreenRig::WaitUntil([&] { return Display() == QStringLiteral("200"); }, 3000));
}

TEST_F(Explosion, PicksAndStopsKeepWhatTheTableSays)
{
    struct Row {
        int stake, explode; // explode: percent of the stake, 0 for the safe button
        const char* stopAt; // nullptr: never stopped
        Answer answer;      // to "你想知道什么时候会爆或根本不会爆?"
        const char* end;    // what the count ends on; nullptr: left at once
        int count, kept, provider;
    };
    const Row rows[] = {
        {5000, 0, nullptr, Answer::Ok, "5000", 5000, 5000, 0},
        {20000, 63, nullptr, Answer::Ok, "爆", 13000, 0, 20000},       // 12600
        {5000, 99, nullptr, Answer::Ok, "爆", 5000, 0, 5000},          // 4950: passed only by the step to the stake
        {20000, 90, "15000", Answer::Cancel, nullptr, 0, 15000, 5000}, // Cancel leaves at once
        {20000, 0, "15000", Answer::Ok, "20000", 20000, 15000, 5000},  // OK watches the rest
        {20000, 90, "15000", Answer::Ok, "爆", 18000, 15000, 5000},
        {10000, 0, "0", Answer::Ok, "10000", 10000, 0, 10000}, // stopped before the first tick
        {10000, 0, "0", Answer::Cancel, nullptr, 0, 0, 10000},
    };
    int leaves = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.stake << " " << r.explode << "% stop " << (r.stopAt ? r.stopAt : "-"));
        FrmExplosion& w = Open(r.stake);
        Pick(r.explode);
        if (r.explode) {
            EXPECT_EQ(w.Gamble().ExplodeAt, r.stake / 100 * r.explode);
        }
        if (r.stopAt) {
            EXPECT_EQ(TickUntil(QString::fromUtf8(r.stopAt)).last(), QString::fromUtf8(r.stopAt));
            rig.messages.Script(r.answer);
            w.CmdStop_Click();
            EXPECT_EQ(rig.messages.shown.back().id, MessageId::AskWhenExplode);
        }
        if (r.end) {
            EXPECT_EQ(c().Get<Button>("CmdStop")->isEnabled(), !r.stopAt);
            EXPECT_EQ(TickUntil().last(), QString::fromUtf8(r.end));
            EXPECT_EQ(w.Gamble().count, r.count);
            EXPECT_EQ(c().Get<Label>("LblScore")->BackColor() == kRed, QString::fromUtf8(r.end) == QStringLiteral("爆"));
            EXPECT_EQ(c().Get<Button>("CmdStop")->text(), QStringLiteral("继续"));
            EXPECT_TRUE(c().Get<Button>("CmdStop")->isEnabled());
            EXPECT_FALSE(c().Get<QTimer>("Timer1")->isActive());
            EXPECT_EQ(save.loads, leaves);
            w.CmdStop_Click(); // "继续" asks nothing
        }
        EXPECT_EQ(rig.session.StakeScore, r.kept);
        EXPECT_EQ(rig.session.ProviderScore, r.provider);
        // The gamble is gone before the score screen opens, modally.
        EXPECT_TRUE(Gone());
        EXPECT_EQ(save.modalShows, ++leaves);
        EXPECT_EQ(save.watchedAtLoad, ScreenState::NotLoaded);
        ScreenRig::FlushDeletes();
    }
}

TEST_F(Explosion, CloseBoxIsIgnoredUntilTheCountEndsThenContinues)
{
    FrmExplosion& w = Open(5000);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const auto ignored = [&] {
        w.close();
        EXPECT_FALSE(Gone());
    };
    ignored(); // choosing
    Pick();
    TickUntil(QStringLiteral("2000"));
    ignored(); // counting
    rig.messages.Script(Answer::Ok);
    w.CmdStop_Click();
    ignored(); // watching
    TickUntil();
    EXPECT_EQ(save.loads, 0);
    w.close(); // finished
    EXPECT_TRUE(Gone());
    EXPECT_EQ(save.modalShows, 1);
    EXPECT_EQ(rig.session.StakeScore, 2000);
}

TEST_F(Explosion, AScreenReaderFollowsTheCountToItsEnd)
{
    FrmExplosion& w = Open(1000);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&w)->text(QAccessible::Description).startsWith(u"爆煲游戏"));
    auto nodes = AccessibleNodes(w);
    EXPECT_EQ(NodeOf(nodes, c().Get<Label>("Label2")).name, QStringLiteral("你目前获得的分数: 1000")); // the line break
    EXPECT_EQ(NodeOf(nodes, c().Get<Label>("LblScore")).name, QStringLiteral("计数：0"));
    EXPECT_EQ(NodeOf(nodes, c().Get<Button>("CmdNum", 1)).name, QStringLiteral("2"));
    const auto stop = NodeOf(nodes, c().Get<Button>("CmdStop"));
    EXPECT_EQ(stop.role, QAccessible::Button);
    EXPECT_EQ(stop.name, QStringLiteral("Stop!!!"));

    Pick();
    w.Timer1_Timer();
    EXPECT_EQ(NodeOf(AccessibleNodes(w), c().Get<Label>("LblScore")).name, QStringLiteral("计数：") + Display());
    TickUntil();
    nodes = AccessibleNodes(w);
    EXPECT_EQ(NodeOf(nodes, c().Get<Button>("CmdStop")).name, QStringLiteral("继续"));
    EXPECT_EQ(NodeOf(nodes, c().Get<Label>("LblScore")).name, QStringLiteral("计数：1000"));
}
