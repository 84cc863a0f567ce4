#include <gtest/gtest.h>

#include "PlayRig.h"
#include "ui/Look.h"

using namespace wd;
using namespace wd::test;

namespace {
QColor Back(Frmmain* quiz, int slot) { return quiz->label("Lblque", slot)->BackColor(); }
} // namespace

TEST(Frmmain, WaitsForTheStartButtonWithTheAnswerButtonsDisabled)
{
    PlayRig p;
    p.SignIn();
    Frmmain* q = p.quiz();
    EXPECT_FALSE(q->button("CmdOK")->isEnabled());
    EXPECT_FALSE(q->button("CmdPass")->isEnabled());
    EXPECT_FALSE(q->button("CmdEasy")->isEnabled());
    EXPECT_FALSE(q->timer("Timer1")->isActive());
    EXPECT_EQ(p.Caption("Lblque", 0), QStringLiteral("O"));
    EXPECT_EQ(p.Caption("Lblque", 1), QString());
    EXPECT_EQ(p.Caption("LblProvider"), QString());
    EXPECT_EQ(p.rig.session.QuestionsLeft, 1);

    // Enter before the start button does nothing.
    q->edit("Txtanswer")->setText(QStringLiteral("a1"));
    QTest::keyClick(q->edit("Txtanswer"), Qt::Key_Return);
    EXPECT_TRUE(p.rig.messages.shown.empty());
    EXPECT_EQ(p.State(ScreenId::Frmmain), ScreenState::Shown);
}

TEST(Frmmain, TheStartButtonDrawsTheFirstQuestionAndStartsTheClock)
{
    PlayRig p;
    p.rig.session.ProviderName = QStringLiteral("earlier");
    p.StartGame(42);
    Frmmain* q = p.quiz();
    EXPECT_EQ(p.Caption("Lblquestion"), QStringLiteral("question 42 ____"));
    EXPECT_EQ(p.Caption("LblProvider"), QStringLiteral("fan0"));
    EXPECT_EQ(p.rig.session.ProviderName, QStringLiteral("earlier"));
    EXPECT_FALSE(q->button("CmdStart")->isVisible());
    EXPECT_TRUE(q->button("CmdOK")->isEnabled());
    EXPECT_TRUE(q->timer("Timer1")->isActive());
    EXPECT_EQ(q->timer("Timer1")->interval(), 1000);
    EXPECT_TRUE(q->movie("SwfBackground")->Movie().endsWith(QStringLiteral("/swf/1.swf")));
}

TEST(Frmmain, RightAnswersFillTheSlotsOfLevelThree)
{
    PlayRig p;
    p.StartGame();
    // Level 3 as the tally leaves it.
    p.rig.session.Level = 3;
    p.rig.session.QuestionsLeft = 3;
    for (int i = 0; i < 3; ++i) p.quiz()->label("Lblque", i)->SetCaption(QStringLiteral("O"));

    p.Answer(QStringLiteral("  ") + p.AnswerShown() + QStringLiteral("\u3000")); // spaces around it count for nothing
    p.Answer(p.AnswerShown());
    EXPECT_EQ(p.Caption("Lblque", 0), QStringLiteral("V"));
    EXPECT_EQ(p.Caption("Lblque", 1), QStringLiteral("V"));
    EXPECT_EQ(p.Caption("Lblque", 2), QStringLiteral("O"));
    EXPECT_EQ(p.Caption("LblNo"), QStringLiteral("3"));
    EXPECT_TRUE(p.quiz()->edit("Txtanswer")->text().isEmpty());
    EXPECT_TRUE(p.rig.messages.shown.empty());
}

TEST(Frmmain, FourPassesColourSlotsOneToFourAndUseThemUp)
{
    PlayRig p;
    p.StartGame();
    const QColor used = ToQColor(Colour::PaleCyan);
    for (int pass = 1; pass <= 4; ++pass) {
        const QString before = p.Caption("Lblquestion");
        p.quiz()->button("CmdPass")->click();
        EXPECT_EQ(Back(p.quiz(), pass), used) << pass;
        EXPECT_NE(p.Caption("Lblquestion"), before);
    }
    EXPECT_EQ(Back(p.quiz(), 0), ToQColor(Colour::BoxBlue));
    EXPECT_FALSE(p.quiz()->button("CmdPass")->isEnabled());
    EXPECT_EQ(p.rig.session.PassesLeft, 0);
    EXPECT_EQ(p.Caption("LblNo"), QStringLiteral("1"));
}

TEST(Frmmain, EasyQuestionsMarkTheirUseAndRunOut)
{
    PlayRig p;
    p.StartGame();
    Frmmain* q = p.quiz();
    q->button("CmdEasy")->click();
    EXPECT_TRUE(p.Caption("Lblquestion").startsWith(QStringLiteral("easy ")));
    EXPECT_TRUE(q->label("LblEasyLable")->isVisible());
    EXPECT_EQ(p.Caption("LblEasy", 0), QStringLiteral("X"));
    EXPECT_EQ(p.Caption("LblEasy", 1), QStringLiteral("→"));

    // A pass after an easy question draws an ordinary one and keeps the marker.
    q->button("CmdPass")->click();
    EXPECT_TRUE(p.Caption("Lblquestion").startsWith(QStringLiteral("question ")));
    EXPECT_TRUE(q->label("LblEasyLable")->isVisible());
    EXPECT_EQ(p.rig.session.EasyLeft, 2);

    q->button("CmdEasy")->click();
    q->button("CmdEasy")->click();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(p.Caption("LblEasy", i), QStringLiteral("X"));
    EXPECT_FALSE(q->button("CmdEasy")->isEnabled());

    // An easy question is answered like any other: right, and the marker goes.
    p.rig.session.QuestionsLeft = 2;
    p.Answer(p.AnswerShown());
    EXPECT_FALSE(q->label("LblEasyLable")->isVisible());
}

TEST(Frmmain, AnotherLetterCaseOrAFullWidthLetterIsWrong)
{
    for (const auto& typed : {std::function<QString(QString)>([](QString a) { return a.toUpper(); }),
                              std::function<QString(QString)>([](QString a) { return QStringLiteral("ａ") + a.mid(1); })}) {
        PlayRig p;
        p.StartGame(7);
        p.Answer(typed(p.AnswerShown()));
        ASSERT_EQ(p.rig.messages.shown.size(), 1u);
        EXPECT_EQ(p.rig.messages.shown[0].id, MessageId::WrongNoScore);
    }
}

TEST(Frmmain, AWrongAnswerWithNothingGainedGoesBackToTheStartScreenOnly)
{
    PlayRig p;
    p.StartGame(7);
    p.Answer(QStringLiteral("nonsense"));
    ASSERT_EQ(p.rig.messages.shown.size(), 1u);
    EXPECT_EQ(p.rig.messages.shown[0].text,
              QStringLiteral("对不起\u3000你的表现实在太差了\u3000一分都得不到\u3000正确答案应该是:a7\r 重新再玩吧\u3000"));
    ScreenRig::FlushDeletes();
    EXPECT_EQ(p.State(ScreenId::FrmStart), ScreenState::Shown);
    EXPECT_EQ(p.State(ScreenId::Frmmain), ScreenState::NotLoaded);
    for (ScreenId other : {ScreenId::FrmCountUp, ScreenId::FrmExplosion, ScreenId::FrmSaveMoney})
        EXPECT_EQ(p.State(other), ScreenState::NotLoaded);
}

TEST(Frmmain, AWrongAnswerWithAStakeGoesIntoTheGambleThenTheQuizScreenGoes)
{
    PlayRig p;
    p.StartGame(7);
    p.rig.session.Level = 3;
    p.rig.session.StakeScore = 10000; // level 2 cleared
    const int before = StandIn<ScreenId::FrmExplosion>::modalShows;
    p.Answer(QStringLiteral("wrong"));
    EXPECT_EQ(StandIn<ScreenId::FrmExplosion>::modalShows, before + 1);
    ASSERT_EQ(p.rig.messages.shown.size(), 1u);
    EXPECT_EQ(p.rig.messages.shown[0].text, QStringLiteral("对不起\u3000你的答错了.正确答案应该是:a7"));
    EXPECT_EQ(p.rig.session.StakeScore, 10000);
    EXPECT_EQ(p.rig.session.ProviderName, QStringLiteral("fan0"));
    ScreenRig::FlushDeletes();
    EXPECT_EQ(p.State(ScreenId::Frmmain), ScreenState::NotLoaded);
}

TEST(Frmmain, AWrongAnswerInLevelOneOfALaterRunSavesTheBankedScoreAtOnce)
{
    PlayRig p;
    p.StartGame(7);
    p.rig.session.ClearCount = 1;
    const int explosions = StandIn<ScreenId::FrmExplosion>::modalShows;
    const int saves = StandIn<ScreenId::FrmSaveMoney>::modalShows;
    p.Answer(QStringLiteral("wrong"));
    EXPECT_EQ(StandIn<ScreenId::FrmExplosion>::modalShows, explosions);
    EXPECT_EQ(StandIn<ScreenId::FrmSaveMoney>::modalShows, saves + 1);
    EXPECT_EQ(p.rig.messages.shown[0].id, MessageId::WrongAnswer);
    EXPECT_NE(p.State(ScreenId::Frmmain), ScreenState::NotLoaded) << "the quiz screen stays beneath it";
}

TEST(Frmmain, ClearingALevelStopsTheClockAndHandsOverToTheTally)
{
    PlayRig p;
    p.StartGame();
    for (int i = 0; i < 239; ++i) p.Tick(); // one second left
    EXPECT_EQ(p.Caption("LblTime"), QStringLiteral("1"));
    p.Answer(p.AnswerShown());
    EXPECT_FALSE(p.quiz()->timer("Timer1")->isActive());
    EXPECT_EQ(p.rig.session.TimeLeft, 1);
    EXPECT_EQ(p.rig.session.StakeScore, 5000);
    ASSERT_EQ(p.rig.messages.shown.size(), 1u);
    EXPECT_EQ(p.rig.messages.shown[0].text, QStringLiteral("恭喜!你过关啦!!"));
    EXPECT_EQ(p.State(ScreenId::FrmCountUp), ScreenState::Shown);
    EXPECT_EQ(p.State(ScreenId::Frmmain), ScreenState::Hidden);
    EXPECT_TRUE(p.quiz()->movie("SwfBackground")->Movie().isEmpty());
    EXPECT_EQ(p.Caption("Lblque", 0), QStringLiteral("V"));
}

TEST(Frmmain, TheClockCountsDownAndTurnsRedBelowThirty)
{
    PlayRig p;
    p.StartGame();
    p.Tick();
    EXPECT_EQ(p.Caption("LblTime"), QStringLiteral("239"));
    for (int i = 0; i < 209; ++i) p.Tick();
    EXPECT_EQ(p.Caption("LblTime"), QStringLiteral("30"));
    EXPECT_EQ(p.quiz()->label("LblTime")->ForeColor(), ToQColor(Colour::PaleCyan));
    p.Tick();
    EXPECT_EQ(p.Caption("LblTime"), QStringLiteral("29"));
    EXPECT_EQ(p.quiz()->label("LblTime")->ForeColor(), ToQColor(Colour::Red));
    EXPECT_TRUE(p.rig.messages.shown.empty());
}

TEST(Frmmain, TheFirstTickComesOneSecondAfterTheStart)
{
    PlayRig p;
    p.StartGame();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(ScreenRig::WaitUntil([&] { return p.Caption("LblTime") == QStringLiteral("239"); }, 3000));
    EXPECT_GE(clock.elapsed(), 900);
}

TEST(Frmmain, TimeRunningOutWithNothingGainedEndsAtTheStartScreen)
{
    PlayRig p;
    p.StartGame(9);
    for (int i = 0; i < 240; ++i) p.Tick();
    ASSERT_EQ(p.rig.messages.shown.size(), 1u);
    EXPECT_EQ(p.rig.messages.shown[0].text,
              QStringLiteral("对不起\u3000时间到!你的表现实在太差了\u3000一分都得不到\u3000正确答案应该是:a9\r 重新再玩吧\u3000"));
    ScreenRig::FlushDeletes();
    EXPECT_EQ(p.State(ScreenId::FrmStart), ScreenState::Shown);
    EXPECT_EQ(p.State(ScreenId::Frmmain), ScreenState::NotLoaded);
}

TEST(Frmmain, TimeRunningOutWithAStakeKeepsItForTheGamble)
{
    PlayRig p;
    p.StartGame(9);
    p.rig.session.Level = 3;
    p.rig.session.StakeScore = 10000;
    const int before = StandIn<ScreenId::FrmExplosion>::modalShows;
    for (int i = 0; i < 240; ++i) p.Tick();
    EXPECT_EQ(p.rig.messages.shown[0].text, QStringLiteral("对不起\u3000时间到!.正确答案应该是:a9\r  请进入爆煲游戏."));
    EXPECT_EQ(StandIn<ScreenId::FrmExplosion>::modalShows, before + 1);
    EXPECT_EQ(p.rig.session.StakeScore, 10000);
}

TEST(Frmmain, TheClockRunsOnWhileTheQuitQuestionIsOpen)
{
    PlayRig p;
    p.StartGame();
    p.rig.messages.Script(Answer::Cancel);
    p.quiz()->button("Cmdquit")->click();
    EXPECT_EQ(p.rig.programEnds, 0);
    EXPECT_TRUE(p.quiz()->timer("Timer1")->isActive());
    EXPECT_EQ(p.rig.messages.shown.back().id, MessageId::ConfirmLeave);

    p.quiz()->close(); // the close box asks the same question
    EXPECT_EQ(p.rig.programEnds, 1);
}

TEST(Frmmain, ASecondGameStartsFreshAndKeepsTheFirstGamesMarks)
{
    PlayRig p;
    p.StartGame(5);
    p.rig.session.QuestionsLeft = 3;
    p.Answer(p.AnswerShown()); // question 20 comes next and is marked
    p.Answer(QStringLiteral("wrong"));
    ScreenRig::FlushDeletes();
    ASSERT_EQ(p.State(ScreenId::FrmStart), ScreenState::Shown);
    EXPECT_EQ(p.file.Number("select count(*) from question where played=1"), 1);

    p.SignIn(QStringLiteral("second"));
    EXPECT_EQ(p.rig.session.PlayerId, QStringLiteral("second"));
    EXPECT_EQ(p.rig.session.ClearCount, 0);
    EXPECT_EQ(p.rig.session.EasyLeft, 3);
    EXPECT_EQ(p.rig.session.PassesLeft, 4);
    EXPECT_EQ(p.Caption("LblTime"), QStringLiteral("240"));
    EXPECT_EQ(p.Caption("LblNo"), QStringLiteral("1"));
    EXPECT_TRUE(p.quiz()->button("CmdStart")->isVisible());
    EXPECT_EQ(p.file.Number("select played from question where id=20"), 1);
}
