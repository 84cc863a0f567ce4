// The tally between levels. The e2e roads pass through it after every level;
// here are its level table and what going on resets on the quiz screen.
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

QString Movie(const std::string& name) { return QString::fromStdString(MovieFile(name.c_str()).string()); }
const QColor kPale(0xC0, 0xFF, 0xFF), kRed(0xFF, 0, 0), kBoxBlue(0, 0, 0xC0);

class Tally : public ::testing::Test {
protected:
    void SetUp() override
    {
        StandIn::RegisterAs(rig.screens, ScreenId::FrmSaveMoney, save);
        rig.screens.Register<Frmmain>();
        rig.screens.Register<FrmCountUp>();
        for (int i = 0; i < 500; ++i) rig.random.Push(((i * 37) % 159 + 0.5f) / 159); // spread-out draws
        rig.bank.OpenQuestionBank();
        rig.session.StartGame(QStringLiteral("kessa"));
    }
    // The moment after the quiz screen cleared `level`: quiz hidden, tally shown.
    FrmCountUp& ClearedLevel(int level, std::int32_t stake)
    {
        rig.session.Level = static_cast<std::int16_t>(level);
        rig.session.StakeScore = stake;
        rig.session.QuestionsLeft = 0;
        rig.screens.Show(Frmmain::kId);
        rig.screens.Show(FrmCountUp::kId);
        rig.screens.Hide(Frmmain::kId);
        return rig.screens.Get<FrmCountUp>();
    }
    Frmmain& Quiz() { return rig.screens.Get<Frmmain>(); }
    static QString Caption(Screen& s, const char* name, int index = kNoIndex)
    {
        return s.controls().Get<Label>(name, index)->Caption();
    }
    static QString Joined(Screen& s, const char* name, int n, const QString& sep = {})
    {
        QStringList captions;
        for (int i = 0; i < n; ++i) captions << Caption(s, name, i);
        return captions.join(sep);
    }

    BankFixture file;
    ScreenRig rig{file.File()};
    StandInLog save;
};

} // namespace

TEST_F(Tally, ShowsEachLevelAndGoingOnSetsUpTheNextOnTheQuizScreen)
{
    struct Row {
        int cleared, stake, clears; // clears: runs banked, this one counted at level 5
        const char* boxes;
        int passes;
    };
    const Row rows[] = {{1, 5000, 0, "O|O|||", 3}, {2, 10000, 0, "O|O|O||", 2}, {3, 20000, 1, "O|O|O|O|", 1},
                        {4, 40000, 1, "O|O|O|O|O", 0}, {5, 100000, 2, "O||||", 4}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cleared);
        const int level = r.cleared % 5 + 1;
        rig.session.ClearCount = static_cast<std::int16_t>(r.clears);
        rig.session.PassesLeft = 0;
        rig.session.EasyLeft = 0;
        rig.session.TimeLeft = 12;
        FrmCountUp& t = ClearedLevel(r.cleared, r.stake);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&t));
        EXPECT_EQ(t.controls().Get<Label>("LblFixScore")->isVisible(), r.clears > 0);
        EXPECT_EQ((QStringList{Caption(t, "Label1"), Caption(t, "LblScore"), Caption(t, "LblRemainTime"),
                               Joined(t, "LblEasy", 3), r.clears ? Caption(t, "LblFixScore") : QString()}),
                  (QStringList{QStringLiteral("第%1关成绩").arg(r.cleared), QString::number(r.stake), "12", "XXX",
                               r.clears ? QString::number(r.clears * 100000) : QString()}));

        // What the level just played left on the quiz screen; its clock shows
        // the 12 seconds left since it loaded, its easy marks "→→→".
        Frmmain& q = Quiz();
        const ControlSet& qc = q.controls();
        qc.Get<Label>("Lblque", 4)->SetBackColor(kPale);
        qc.Get<Label>("LblEasyLable")->show();
        qc.Get<Label>("LblNo")->SetCaption(QStringLiteral("3"));
        qc.Get<Label>("LblTime")->SetForeColor(kRed);
        t.OKButton_Click();

        EXPECT_EQ(rig.screens.State(FrmCountUp::kId), ScreenState::NotLoaded);
        EXPECT_EQ(rig.screens.State(Frmmain::kId), ScreenState::Shown);
        EXPECT_EQ(QList<int>({rig.session.Level, rig.session.QuestionsLeft, rig.session.PassesLeft}),
                  QList<int>({level, level, r.passes}));
        for (int i = 0; i < 5; ++i) EXPECT_EQ(qc.Get<Label>("Lblque", i)->BackColor(), kBoxBlue) << i;
        EXPECT_EQ(qc.Get<Button>("CmdPass")->isEnabled(), level < 5);
        EXPECT_FALSE(qc.Get<Label>("LblEasyLable")->isVisible());
        // The clock and the easy chances are refilled only for a new run.
        EXPECT_EQ(qc.Get<Label>("LblTime")->ForeColor(), level > 1 ? kRed : kPale);
        EXPECT_EQ(qc.Get<Button>("CmdEasy")->isEnabled(), level == 1);
        EXPECT_EQ((QStringList{Joined(q, "Lblque", 5, QStringLiteral("|")), Caption(q, "LblNo"), Caption(q, "LblPlayscore"),
                               Caption(q, "LblTime"), Joined(q, "LblEasy", 3), qc.Get<Frame>("Fraquestion")->Caption(),
                               Caption(q, "Lblquestion"), Caption(q, "LblProvider")}),
                  (QStringList{QString::fromUtf8(r.boxes), "1",
                               QString::number(r.clears * 100000 + (level > 1 ? r.stake : 0)), level > 1 ? "12" : "240",
                               level > 1 ? "XXX" : "→→→", QStringLiteral("第%1 关题目\u3000").arg(level),
                               QStringLiteral("question %1 ____").arg(rig.session.QuestionId), rig.session.ProviderName}));
        EXPECT_FALSE(rig.session.ProviderName.isEmpty());
        EXPECT_EQ(qc.Get<AnimationPanel>("SwfBackground")->Movie(), Movie(std::to_string(level) + ".swf"));
        EXPECT_TRUE(qc.Get<QTimer>("Timer1")->isActive());
        rig.screens.Unload(Frmmain::kId);
        ScreenRig::FlushDeletes();
    }
}

TEST_F(Tally, TheCloseBoxStopsAsTheStopButtonDoes)
{
    ClearedLevel(5, 100000).close();
    EXPECT_EQ(rig.screens.State(FrmCountUp::kId), ScreenState::NotLoaded);
    EXPECT_EQ(rig.screens.State(Frmmain::kId), ScreenState::NotLoaded);
    EXPECT_EQ(rig.screens.State(ScreenId::FrmSaveMoney), ScreenState::Shown);
    EXPECT_EQ(rig.screens.Loaded(ScreenId::FrmSaveMoney)->windowModality(), Qt::NonModal);
    EXPECT_EQ(rig.session.StakeScore, 100000); // left for the score screen
    EXPECT_EQ(save.loads, 1);
}
