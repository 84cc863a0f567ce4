// Whole games on the sample question file, window by window, as the player
// sees them: the start screen, the quiz screen and its clock, the tallies, the
// gamble and the score-saving screen, and back to the start.
#include <gtest/gtest.h>

#include <QSet>
#include <QTest>
#include <QUrl>

#include "fakes/GameDriver.h"

using namespace wd;
using namespace wd::test;

namespace {

using S = ScreenId;
const QString kSample = QStringLiteral(WD_SAMPLE_BANK);
const QString kRight = QStringLiteral("→→→");
// The stake once level L is cleared; index 0 before any.
constexpr int kStake[] = {0, 5000, 10000, 20000, 40000, 100000};

QString Q(const char16_t* text) { return QString::fromUtf16(text); }

// The texts of the named controls of a screen, in order.
QStringList Texts(const GameDriver& d, S id, std::initializer_list<const char*> names)
{
    QStringList texts;
    for (const char* name : names) texts << d.Text(id, name);
    return texts;
}

// A freshly loaded quiz screen, waiting for its start button.
void ExpectWaiting(const GameDriver& d, const QString& player)
{
    EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain"));
    EXPECT_EQ(d.On(S::Frmmain).windowTitle(), Q(u"问鼎五关(Kessa Version)"));
    EXPECT_EQ(Texts(d, S::Frmmain, {"LblPlayer", "LblTime", "LblPlayscore", "Fraquestion"}) << d.Slots() << d.Marks(),
              (QStringList{player, "240", "0", Q(u"第1关题目\u3000"), "O||||", kRight}));
    EXPECT_EQ(d.PassSlotsUsed(), 0);
    EXPECT_TRUE(d.Visible(S::Frmmain, "CmdStart"));
    EXPECT_FALSE(d.Enabled(S::Frmmain, "CmdOK"));
    EXPECT_FALSE(d.Control<QTimer>(S::Frmmain, "Timer1")->isActive());
}

// The quiz screen as a level begins; `heading` is the question frame's caption.
void ExpectLevelBegins(const GameDriver& d, int level, int score, int seconds, const QString& marks,
                       const QString& heading)
{
    SCOPED_TRACE(QStringLiteral("level %1").arg(level).toStdString());
    EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain"));
    EXPECT_EQ(Texts(d, S::Frmmain, {"Fraquestion", "LblPlayscore", "LblTime", "LblNo"}) << d.Slots() << d.Marks(),
              (QStringList{heading, QString::number(score), QString::number(seconds), "1",
                           (QStringLiteral("O|").repeated(level) + QStringLiteral("|").repeated(5 - level)).chopped(1),
                           marks}));
    EXPECT_EQ(d.PassSlotsUsed(), 0);
    EXPECT_FALSE(d.Visible(S::Frmmain, "LblEasyLable"));
    EXPECT_TRUE(d.Enabled(S::Frmmain, "CmdOK"));
    EXPECT_EQ(d.Enabled(S::Frmmain, "CmdPass"), level < 5);
    EXPECT_EQ(d.Enabled(S::Frmmain, "CmdEasy"), marks.contains(u'→'));
    EXPECT_TRUE(d.Control<QTimer>(S::Frmmain, "Timer1")->isActive());
    EXPECT_FALSE(d.Text(S::Frmmain, "Lblquestion").isEmpty());
}

QString LaterHeading(int level) { return Q(u"第%1 关题目\u3000").arg(level); }

// The tally of a cleared level; banked 0 means the fixed score stays hidden.
void ExpectTally(const GameDriver& d, int level, int banked, int score, int seconds, const QString& marks)
{
    SCOPED_TRACE(QStringLiteral("tally %1").arg(level).toStdString());
    EXPECT_EQ(d.Shown(), QStringLiteral("FrmCountUp"));
    EXPECT_EQ(d.On(S::FrmCountUp).windowTitle(), Q(u"问鼎五关(Kessa Version)--成绩总结"));
    EXPECT_EQ(Texts(d, S::FrmCountUp, {"Label1", "LblScore", "LblRemainTime"}) << d.Marks(S::FrmCountUp),
              (QStringList{Q(u"第%1关成绩").arg(level), QString::number(score), QString::number(seconds), marks}));
    EXPECT_EQ(d.Visible(S::FrmCountUp, "LblFixScore"), banked != 0);
    if (banked) {
        EXPECT_EQ(d.Text(S::FrmCountUp, "LblFixScore"), QString::number(banked));
    }
}

// Clears levels first..last of a run with no passes, easy questions or ticks.
void ClearLevels(GameDriver& d, int first, int last, int banked)
{
    for (int level = first; level <= last; ++level) {
        ExpectLevelBegins(d, level, banked + kStake[level - 1], 240, kRight,
                          level == 1 && banked == 0 ? Q(u"第1关题目\u3000") : LaterHeading(level));
        d.ClearLevel(level);
        ExpectTally(d, level, banked + (level == 5 ? 100000 : 0), kStake[level], 240, kRight);
        if (level < last) d.GoOn();
    }
}

QString ScoreAddress(const QString& password, int cash, const QString& provider, int providerCash)
{
    return QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp?userid=glintora&passwd=")
        + QString::fromLatin1(QUrl::toPercentEncoding(password)) + QStringLiteral("&playercash=%1").arg(cash)
        + QStringLiteral("&provider=") + QString::fromLatin1(QUrl::toPercentEncoding(provider))
        + QStringLiteral("&providercash=%1").arg(providerCash);
}

} // namespace

TEST(WholeGame, ChampionBanksARunGamblesLevelFourOfTheNextUploadsAndPlaysAgainFromScratch)
{
    GameDriver d{kSample};
    EXPECT_EQ(d.Shown(), QStringLiteral("FrmStart"));
    EXPECT_EQ(d.On(S::FrmStart).windowTitle(), Q(u"问鼎五关(Kessa Version)--星澜小站"));
    d.SignIn();
    EXPECT_EQ(d.State(S::FrmStart), ScreenState::Hidden);
    ExpectWaiting(d, QStringLiteral("glintora"));
    d.PressStart();
    EXPECT_FALSE(d.Visible(S::Frmmain, "CmdStart"));

    // Run 1: a pass in level 1, an easy question in level 2, ten seconds a level.
    int seconds = 240;
    QString marks = kRight;
    for (int level = 1; level <= 5; ++level) {
        ExpectLevelBegins(d, level, kStake[level - 1], seconds, marks,
                          level == 1 ? Q(u"第1关题目\u3000") : LaterHeading(level));
        if (level == 1) {
            d.Pass();
            EXPECT_EQ(d.PassSlotsUsed(), 1);
            EXPECT_EQ(d.Text(S::Frmmain, "LblNo"), QStringLiteral("1"));
        }
        if (level == 2) {
            d.Easy(); // answered from the easy table
            marks = Q(u"X→→");
            EXPECT_EQ(d.Marks(), marks);
            EXPECT_TRUE(d.Visible(S::Frmmain, "LblEasyLable"));
        }
        const int spent = level < 5 ? 10 : 185; // level 5 into the red
        d.Tick(spent);
        seconds -= spent;
        EXPECT_EQ(d.Text(S::Frmmain, "LblTime"), QString::number(seconds));
        EXPECT_EQ(d.Control<Label>(S::Frmmain, "LblTime")->ForeColor() == QColor(0xFF, 0, 0), seconds < 30);
        d.ClearLevel(level);
        ExpectTally(d, level, level == 5 ? 100000 : 0, kStake[level], seconds, marks);
        d.GoOn();
    }

    // Run 2 begins on a full clock, no longer red, with the run banked.
    EXPECT_EQ(d.Control<Label>(S::Frmmain, "LblTime")->ForeColor(), QColor(0xC0, 0xFF, 0xFF));
    ClearLevels(d, 1, 3, 100000);
    d.GoOn();
    ExpectLevelBegins(d, 4, 120000, 240, kRight, LaterHeading(4));

    // Level 4 missed: the gamble with 20000, stopped at 3000.
    const QString provider = d.Text(S::Frmmain, "LblProvider");
    const QString answer = d.OnScreen().answer;
    const std::size_t before = d.MessageCount();
    d.OnShown(S::FrmExplosion, [&] {
        EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain FrmExplosion"));
        EXPECT_EQ(d.On(S::FrmExplosion).windowTitle(), Q(u"问鼎五关(Kessa Version)--爆煲游戏"));
        EXPECT_EQ(d.Text(S::FrmExplosion, "Label2"), Q(u"你目前获得的分数:\r20000"));
        d.Pick(1);
        EXPECT_EQ(d.CountTo(QStringLiteral("3000")), QStringLiteral("0 200 400 600 800 1000 2000 3000"));
        d.OnShown(S::FrmSaveMoney, [&] {
            EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain FrmSaveMoney"));
            EXPECT_EQ(d.State(S::FrmExplosion), ScreenState::NotLoaded);
            EXPECT_EQ(d.On(S::FrmSaveMoney).windowTitle(), Q(u"问鼎五关(Kessa Version)--保存分数"));
            EXPECT_TRUE(d.Visible(S::FrmSaveMoney, "LblProviderScore"));
            EXPECT_EQ(Texts(d, S::FrmSaveMoney, {"LblTotal", "LblProviderScore", "TxtUserId"}),
                      (QStringList{Q(u"你总共获得分数\u3000103000"), provider + Q(u"获得\u300017000"), "glintora"}));
            d.Upload(QStringLiteral("s3cret&x"));
            EXPECT_EQ(d.urls.opened, QStringList{ScoreAddress(QStringLiteral("s3cret&x"), 103000, provider, 17000)});
            d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Ok);
        });
        d.PressStop(Answer::Cancel);
    });
    d.AnswerWrong();
    EXPECT_EQ(d.MessagesFrom(before),
              (QStringList{Q(u"对不起\u3000你的答错了.正确答案应该是:") + answer, Q(u"你想知道什么时候会爆或根本不会爆?"),
                           Q(u"请确定你是否已经保存你所获得的分数")}));
    d.ExpectAtStartAlone();

    // The next game starts from nothing: no banked run, a full clock, all chances.
    d.SignIn();
    ExpectWaiting(d, QStringLiteral("glintora"));
    d.PressStart();
    ClearLevels(d, 1, 1, 0);
    d.GoOn();
    ExpectLevelBegins(d, 2, 5000, 240, kRight, LaterHeading(2));
    EXPECT_EQ(d.programEnds, 0);
}

TEST(WholeGame, TimeRunningOutInLevelThreeGamblesTenThousandAndTheExplosionGivesItAllToTheProvider)
{
    GameDriver d{kSample};
    d.SignIn();
    d.PressStart();
    ClearLevels(d, 1, 2, 0);
    d.GoOn();
    ExpectLevelBegins(d, 3, 10000, 240, kRight, LaterHeading(3));

    // The clock turns red below 30 seconds.
    const QColor pale(0xC0, 0xFF, 0xFF), red(0xFF, 0, 0);
    Label* time = d.Control<Label>(S::Frmmain, "LblTime");
    d.Tick(210);
    EXPECT_EQ(time->Caption(), QStringLiteral("30"));
    EXPECT_EQ(time->ForeColor(), pale);
    d.Tick(1);
    EXPECT_EQ(time->ForeColor(), red);
    d.Tick(28);
    EXPECT_EQ(time->Caption(), QStringLiteral("1"));
    EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain"));

    const QString provider = d.Text(S::Frmmain, "LblProvider");
    const QString answer = d.OnScreen().answer;
    const std::size_t before = d.MessageCount();
    d.OnShown(S::FrmExplosion, [&] {
        EXPECT_EQ(d.Text(S::Frmmain, "LblTime"), QStringLiteral("0"));
        EXPECT_EQ(d.Text(S::FrmExplosion, "Label2"), Q(u"你目前获得的分数:\r10000"));
        d.Pick(0, 50); // explodes at 5000
        EXPECT_EQ(d.CountTo(), Q(u"0 200 400 600 800 1000 2000 3000 4000 爆"));
        EXPECT_EQ(d.Control<Label>(S::FrmExplosion, "LblScore")->BackColor(), red);
        EXPECT_EQ(d.Text(S::FrmExplosion, "CmdStop"), Q(u"继续"));
        d.OnShown(S::FrmSaveMoney, [&] {
            EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain FrmSaveMoney"));
            EXPECT_TRUE(d.Visible(S::FrmSaveMoney, "LblProviderScore"));
            EXPECT_EQ(Texts(d, S::FrmSaveMoney, {"LblTotal", "LblProviderScore"}),
                      (QStringList{Q(u"你总共获得分数\u30000"), provider + Q(u"获得\u300010000")}));
            d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Ok);
        });
        d.PressStop();
    });
    d.Tick(1);
    EXPECT_EQ(d.MessagesFrom(before),
              (QStringList{Q(u"对不起\u3000时间到!.正确答案应该是:") + answer + Q(u"\r  请进入爆煲游戏."),
                           Q(u"请确定你是否已经保存你所获得的分数")}));
    d.ExpectAtStartAlone();
}

TEST(WholeGame, AWrongAnswerInLevelOneOfTheSecondRunSavesTheBankedRunAtOnceAndQuitEndsTheProgram)
{
    GameDriver d{kSample};
    d.SignIn();
    d.PressStart();
    ClearLevels(d, 1, 5, 0);
    d.GoOn();
    ExpectLevelBegins(d, 1, 100000, 240, kRight, LaterHeading(1));

    const QString provider = d.Text(S::Frmmain, "LblProvider");
    const QString answer = d.OnScreen().answer;
    const std::size_t before = d.MessageCount();
    d.OnShown(S::FrmSaveMoney, [&] {
        EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain FrmSaveMoney"));
        EXPECT_EQ(d.State(S::FrmExplosion), ScreenState::NotLoaded);
        EXPECT_EQ(d.Text(S::FrmSaveMoney, "LblTotal"), Q(u"你总共获得分数\u3000100000"));
        EXPECT_FALSE(d.Visible(S::FrmSaveMoney, "LblProviderScore"));
        d.Upload(QString());
        EXPECT_EQ(d.urls.opened, QStringList{ScoreAddress(QString(), 100000, provider, 0)});
        d.Confirm(S::FrmSaveMoney, "CmdExit", Answer::Cancel);
        EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain FrmSaveMoney"));
        d.Confirm(S::FrmSaveMoney, "CmdExit", Answer::Ok);
    });
    d.AnswerWrong();
    EXPECT_EQ(d.MessagesFrom(before),
              (QStringList{Q(u"对不起\u3000你的答错了.正确答案应该是:") + answer, Q(u"是否决定退出游戏\u3000"),
                           Q(u"是否决定退出游戏\u3000")}));
    EXPECT_EQ(d.programEnds, 1);
    EXPECT_EQ(d.Shown(), QString());
}

TEST(WholeGame, MissesWithNothingGainedShowTheAnswerAndGoBackToTheStartScreen)
{
    GameDriver d{kSample};
    d.SignIn();
    d.PressStart();
    QString answer = d.OnScreen().answer;
    d.AnswerWrong();
    EXPECT_EQ(d.MessagesFrom(0), QStringList{Q(u"对不起\u3000你的表现实在太差了\u3000一分都得不到\u3000正确答案应该是:")
                                             + answer + Q(u"\r 重新再玩吧\u3000")});
    d.ExpectAtStartAlone();

    d.SignIn(QStringLiteral(" kessa "));
    ExpectWaiting(d, QStringLiteral(" kessa "));
    d.PressStart();
    answer = d.OnScreen().answer;
    d.Tick(240);
    EXPECT_EQ(d.MessagesFrom(1), QStringList{Q(u"对不起\u3000时间到!你的表现实在太差了\u3000一分都得不到\u3000正确答案应该是:")
                                             + answer + Q(u"\r 重新再玩吧\u3000")});
    d.ExpectAtStartAlone();
}

TEST(WholeGame, StoppingAtATallySavesWithNoQuizScreenLeftAndPlayAgainAsksFirst)
{
    GameDriver d{kSample};
    d.SignIn();
    d.PressStart();
    ClearLevels(d, 1, 2, 0);
    d.StopAtTally();
    EXPECT_EQ(d.Shown(), QStringLiteral("FrmSaveMoney"));
    EXPECT_EQ(d.State(S::Frmmain), ScreenState::NotLoaded);
    EXPECT_EQ(d.State(S::FrmCountUp), ScreenState::NotLoaded);
    EXPECT_EQ(d.Text(S::FrmSaveMoney, "LblTotal"), Q(u"你总共获得分数\u300010000"));
    EXPECT_FALSE(d.Visible(S::FrmSaveMoney, "LblProviderScore"));

    const std::size_t before = d.MessageCount();
    d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Cancel);
    EXPECT_EQ(d.Shown(), QStringLiteral("FrmSaveMoney"));
    d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Ok);
    EXPECT_EQ(d.MessagesFrom(before), QStringList(2, Q(u"请确定你是否已经保存你所获得的分数")));
    d.ExpectAtStartAlone();
    EXPECT_TRUE(d.urls.opened.isEmpty());
}

TEST(WholeGame, QuittingTheQuizAsksFirstAndTheClockRunsOnUntilTheAnswerIsOk)
{
    GameDriver d{kSample};
    d.SignIn();
    d.PressStart();
    d.Tick(5);
    d.Confirm(S::Frmmain, "Cmdquit", Answer::Cancel);
    EXPECT_EQ(d.MessagesFrom(0), QStringList{Q(u"是否决定离开游戏\u3000如果是\u3000你所获得的分数将丢失\u3000")});
    EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain"));
    EXPECT_TRUE(d.Control<QTimer>(S::Frmmain, "Timer1")->isActive());
    d.Tick(1);
    EXPECT_EQ(d.Text(S::Frmmain, "LblTime"), QStringLiteral("234"));
    d.ClearLevel(1);
    d.GoOn();
    d.Confirm(S::Frmmain, "Cmdquit", Answer::Ok);
    EXPECT_EQ(d.programEnds, 1);
    EXPECT_EQ(d.Shown(), QString());
}

TEST(WholeGame, PlayedQuestionsStayPlayedAcrossGamesUntil149AreUsed)
{
    GameDriver d{kSample};
    // One whole step of play that draws a question: a pass while there are
    // passes, else a right answer, else going on at the tally.
    auto step = [&d] {
        if (d.State(S::FrmCountUp) == ScreenState::Shown)
            d.GoOn();
        else if (d.Enabled(S::Frmmain, "CmdPass"))
            d.Pass();
        else
            d.AnswerRight();
    };
    // Game 1: a run and a level's passes, then a wrong answer saves the banked run.
    d.SignIn();
    d.PressStart();
    while (d.marked.size() < 29) step();
    EXPECT_EQ(d.PlayedMarks(), 29);
    d.OnShown(S::FrmSaveMoney, [&] { d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Ok); });
    d.AnswerWrong();
    d.ExpectAtStartAlone();

    // Game 2 in the same program run: the marks of game 1 stand.
    d.SignIn();
    d.PressStart();
    EXPECT_EQ(d.PlayedMarks(), 29);
    while (d.marked.size() < 149 && !HasFailure()) step();
    EXPECT_EQ(d.PlayedMarks(), 149);
    EXPECT_EQ(QSet<QString>(d.marked.begin(), d.marked.end()).size(), 149) << "a question came twice";

    // The 150th clears the marks and starts them over.
    step();
    EXPECT_EQ(d.marked.size(), 150);
    EXPECT_EQ(d.PlayedMarks(), 1);
    EXPECT_EQ(d.programEnds, 0);
}

// The quit question left open until the time runs out, on the real clock, with
// boxes that wait in their own event loops as real ones do: the question closes
// as if answered Cancel, the time-up road runs as ever, the score is saved once,
// and nothing of the quiz screen is left when the road ends at the start screen.
TEST(WholeGame, TheQuitQuestionLeftOpenClosesWhenTheTimeRunsOutOnBothRoads)
{
    using enum MessageId;
    for (const bool stake : {false, true}) {
        SCOPED_TRACE(stake ? "a stake in play" : "nothing gained");
        GameDriver d{kSample};
        d.SignIn();
        d.PressStart();
        if (stake) {
            d.ClearLevel(1);
            d.GoOn();
        }
        d.Tick(238);
        const QString provider = d.Text(S::Frmmain, "LblProvider");
        d.messages.Nest([&](MessageId id) {
            if (id != ConfirmLeave) d.messages.Reply(Answer::Ok);
        });
        if (stake) {
            d.OnShown(S::FrmExplosion, [&] {
                d.Pick(2);
                d.CountTo();
                d.OnShown(S::FrmSaveMoney, [&] {
                    EXPECT_EQ(d.Text(S::FrmSaveMoney, "LblTotal"), Q(u"你总共获得分数\u30005000"));
                    d.Upload(QStringLiteral("pw"));
                    d.Control<Button>(S::FrmSaveMoney, "CmdQuit")->click();
                });
                d.PressStop();
            });
        }
        // Back at the start screen, a player who still finds the question open answers it OK.
        bool ended = false;
        d.OnShown(S::FrmStart, [&] {
            ended = true;
            if (d.messages.OpenCount()) d.messages.Reply(Answer::Ok);
        });
        d.Control<QTimer>(S::Frmmain, "Timer1")->setInterval(5);
        d.Control<Button>(S::Frmmain, "Cmdquit")->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return ended; }, 5000));

        std::vector<MessageId> ids;
        for (const auto& shown : d.messages.shown) ids.push_back(shown.id);
        EXPECT_EQ(ids, (stake ? std::vector{LevelCleared, ConfirmLeave, TimeUpWithScore, ConfirmSaved}
                              : std::vector{ConfirmLeave, TimeUpNoScore}));
        EXPECT_EQ(d.urls.opened, stake ? QStringList{ScoreAddress(QStringLiteral("pw"), 5000, provider, 0)}
                                       : QStringList{});
        d.ExpectAtStartAlone();
    }
}
