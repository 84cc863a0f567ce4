// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole games on the sample question file, window by window, as the player
// sees and hears them: the start screen, the quiz screen and its clock, the
// tallies, the gamble and the score-saving screen, and back to the start. At
// each step: which windows are up, the texts, scores and marks they show, the
// messages in order and the movie each screen plays.
#include <gtest/gtest.h>

#include <optional>

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QUrl>

#include "fakes/BankFixture.h"
#include "fakes/GameDriver.h"
#include "ui/AnimationPanel.h"

using namespace wd;
using namespace wd::test;

namespace {

using S = ScreenId;
using Flags = QList<bool>;
const QString kSample = QStringLiteral(WD_SAMPLE_BANK);
const QString kRight = QStringLiteral("→→→");
const QColor kPale(0xC0, 0xFF, 0xFF), kRed(0xFF, 0, 0);
// The stake once level L is cleared; index 0 before any.
constexpr int kStake[] = {0, 5000, 10000, 20000, 40000, 100000};

QString Q(const char16_t* text) { return QString::fromUtf16(text); }
QString N(int n) { return QString::number(n); }
// The question frame's heading: as loaded, or as the tally sets it for a level.
QString Heading(int level = 0) { return level ? Q(u"第%1 关题目\u3000").arg(level) : Q(u"第1关题目\u3000"); }

// The quiz screen as a level begins, the start button and the easy marker
// hidden; level 0: as loaded, waiting for its start button, nothing on.
void ExpectLevelBegins(const GameDriver& d, int level, int score, int seconds, const QString& marks, const QString& heading)
{
    SCOPED_TRACE(QStringLiteral("level %1").arg(level).toStdString());
    d.At(QStringLiteral("Frmmain"));
    const bool on = level > 0;
    EXPECT_EQ(d.Texts(S::Frmmain, {"Fraquestion", "LblPlayscore", "LblTime", "LblNo", "LblProvider", "CmdStart", "LblEasyLable"})
                  << d.Slots() << d.Marks() << d.Movie(S::Frmmain),
              (QStringList{heading, N(score), N(seconds), "1", on ? d.OnScreen().provider : "", on ? "" : Q(u"开始!"), "",
                           GameDriver::SlotsAt(std::max(level, 1)), marks, on ? N(level) + ".swf" : ""}));
    EXPECT_EQ(d.Control<Label>(S::Frmmain, "LblTime")->ForeColor(), seconds < 30 ? kRed : kPale);
    EXPECT_EQ((Flags{d.Enabled(S::Frmmain, "CmdOK"), d.Enabled(S::Frmmain, "CmdPass"), d.Enabled(S::Frmmain, "CmdEasy"),
                     d.ClockRunning()}),
              (on ? Flags{true, level < 5, marks.contains(u'→'), true} : Flags(4, false)));
}

// The tally of a cleared level; banked 0 means the fixed score stays hidden.
void ExpectTally(const GameDriver& d, int level, int banked, int score, int seconds, const QString& marks)
{
    SCOPED_TRACE(QStringLiteral("tally %1").arg(level).toStdString());
    d.At(QStringLiteral("FrmCountUp"));
    EXPECT_EQ(d.On(S::FrmCountUp).windowTitle(), Q(u"问鼎五关(Kessa Version)--成绩总结"));
    EXPECT_EQ(d.Texts(S::FrmCountUp, {"Label1", "LblScore", "LblRemainTime", "LblFixScore", "Label4", "OKButton", "CancelButton"})
                  << d.Marks(S::FrmCountUp) << d.Movie(S::FrmCountUp, "ShockwaveFlash1"),
              (QStringList{Q(u"第%1关成绩").arg(level), N(score), N(seconds), banked ? N(banked) : "", Q(u"未到结局,继唔继续?"),
                           Q(u"当然继续啦!"), Q(u"挪当前的分数算了"), marks, "noend.swf"}));
    EXPECT_EQ(d.Control<AnimationPanel>(S::FrmCountUp, "ShockwaveFlash1")->PlayMode(), AnimationPanel::Play::On);
}

// Signs in and plays a new game up to level `level` of run `runs` + 1, checking
// the start of every level and every tally on the way, and first the freshly
// loaded quiz screen waiting for its start button (the easy marker hidden),
// where Enter does nothing.
void PlayTo(GameDriver& d, int level, int runs = 0, const QString& player = QStringLiteral("glintora"))
{
    d.SignIn(player);
    ExpectLevelBegins(d, 0, 0, 240, kRight, Heading());
    EXPECT_EQ((QStringList{d.On(S::Frmmain).windowTitle(), d.Text(S::Frmmain, "LblPlayer")}),
              (QStringList{Q(u"问鼎五关(Kessa Version)"), player}));
    d.Type(QStringLiteral("x"));
    d.At(QStringLiteral("Frmmain"));
    d.PressStart();
    for (int n = 1;; ++n) {
        const int at = (n - 1) % 5 + 1, banked = (n - 1) / 5 * 100000;
        ExpectLevelBegins(d, at, banked + kStake[at - 1], 240, kRight, n == 1 ? Heading() : Heading(at));
        if (n == level + 5 * runs) return;
        d.ClearLevel(at);
        ExpectTally(d, at, banked + (at == 5 ? 100000 : 0), kStake[at], 240, kRight);
        d.GoOn();
    }
}

// The score-saving screen, over the quiz screen and modal, or alone, with its
// totals: the player's, and the provider's share when there is one.
void ExpectSaved(const GameDriver& d, bool overQuiz, int total, const QString& provider = {}, int share = 0)
{
    d.At(overQuiz ? QStringLiteral("Frmmain FrmSaveMoney") : QStringLiteral("FrmSaveMoney"));
    EXPECT_EQ(QGuiApplication::modalWindow(), overQuiz ? d.On(S::FrmSaveMoney).windowHandle() : nullptr);
    EXPECT_EQ(d.Texts(S::FrmSaveMoney, {"LblTotal", "LblProviderScore"}),
              (QStringList{Q(u"你总共获得分数\u3000%1").arg(total), share ? provider + Q(u"获得\u3000%1").arg(share) : ""}));
}

QString ScoreAddress(const QString& password, int cash, const QString& provider)
{
    const auto encoded = [](const QString& text) { return QString::fromLatin1(QUrl::toPercentEncoding(text)); };
    return QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp?userid=glintora&passwd=%1&playercash=%2"
                          "&provider=%3&providercash=0")
        .arg(encoded(password), N(cash), encoded(provider));
}

// Every way the gamble can go, from the stake of the level missed to the split
// that the score-saving screen shows: the level missed after so many runs
// banked; the button exploding at a percentage of the stake (0: the safe one);
// a stop at a count (nullptr: never) with the answer to "你想知道什么时候会爆
// 或根本不会爆?"; the last two counts shown (nullptr: left at the stop); the
// player's and the provider's share; left by the close box rather than "继续".
struct GambleWay {
    const char* name; int level, runs, explode; const char* stopAt; Answer answer;
    const char* last; int kept, provider; bool closeBox;
};
const GambleWay kGambleWays[] = {
    {"SafeButton", 2, 0, 0, nullptr, Answer::Ok, "4000 5000", 5000, 0, false},
    {"Explodes", 4, 0, 63, nullptr, Answer::Ok, "12000 爆", 0, 20000, true},               // at 12600
    {"ExplodesOnTheStake", 2, 0, 99, nullptr, Answer::Ok, "4000 爆", 0, 5000, false},      // at 4950
    {"StopAndCancel", 4, 0, 90, "15000", Answer::Cancel, nullptr, 15000, 5000, true},      // leaves at once
    {"StopAndWatchToTheStake", 4, 0, 0, "15000", Answer::Ok, "19000 20000", 15000, 5000, false},
    {"StopAndWatchTheExplosion", 4, 0, 90, "15000", Answer::Ok, "17000 爆", 15000, 5000, true},
    {"StopBeforeTheFirstCountAndWatch", 3, 0, 0, "0", Answer::Ok, "9000 10000", 0, 10000, false},
    {"StopBeforeTheFirstCountAndCancel", 3, 0, 0, "0", Answer::Cancel, nullptr, 0, 10000, true},
    {"TheBankedRunIsNeverAtStake", 4, 1, 0, "3000", Answer::Cancel, nullptr, 3000, 17000, false},
};
class TheGamble : public testing::TestWithParam<GambleWay> {};

} // namespace

// A champion's road: a run banked, the next run's time running out with no
// stake, the banked run saved, and a new game from scratch.
TEST(WholeGame, AChampionsGame)
{
    GameDriver d{kSample};
    d.At(QStringLiteral("FrmStart"));
    EXPECT_EQ((QStringList{d.On(S::FrmStart).windowTitle(), d.Movie(S::FrmStart, "ShockwaveFlash1")}),
              (QStringList{Q(u"问鼎五关(Kessa Version)--星澜小站"), "bantou.swf"}));
    PlayTo(d, 1);
    EXPECT_EQ(d.State(S::FrmStart), ScreenState::Hidden);

    // Run 1: an easy question and all four passes in level 1, the run's last
    // two easy questions in level 2; the clock turns red in level 4.
    int seconds = 240;
    for (int level = 1; level <= 5; ++level) {
        if (level > 1) // level 1 as PlayTo left it
            ExpectLevelBegins(d, level, kStake[level - 1], seconds, level == 2 ? Q(u"X→→") : Q(u"XXX"), Heading(level));
        if (level == 1) {
            d.Easy();
            EXPECT_EQ(d.OnScreen().table, QStringLiteral("easy"));
            for (const char* after : {"O|*|||", "O|*|*||", "O|*|*|*|", "O|*|*|*|*"}) {
                const QString before = d.Text(S::Frmmain, "Lblquestion");
                d.Pass(); // an ordinary question; the easy marker stays, as it does when the level is cleared
                EXPECT_EQ((QStringList{d.Slots(), d.OnScreen().table}), (QStringList{after, "question"}));
                EXPECT_NE(d.Text(S::Frmmain, "Lblquestion"), before);
            }
            EXPECT_EQ(d.Texts(S::Frmmain, {"LblNo", "Txtanswer", "LblEasyLable"}) << d.Marks(),
                      (QStringList{"1", "", "→", Q(u"X→→")}));
            EXPECT_FALSE(d.Enabled(S::Frmmain, "CmdPass"));
        }
        if (level == 2) {
            d.Easy();
            d.Easy();
            EXPECT_EQ(d.Marks(), Q(u"XXX"));
            EXPECT_FALSE(d.Enabled(S::Frmmain, "CmdEasy"));
        }
        for (const int spent : level == 4 ? QList<int>{seconds - 30, 1} : QList<int>{10}) { // "29" turns red
            d.Tick(spent);
            seconds -= spent;
            EXPECT_EQ(d.Text(S::Frmmain, "LblTime"), N(seconds));
            EXPECT_EQ(d.Control<Label>(S::Frmmain, "LblTime")->ForeColor(), seconds < 30 ? kRed : kPale);
        }
        d.ClearLevel(level);
        ExpectTally(d, level, level == 5 ? 100000 : 0, kStake[level], seconds, level == 1 ? Q(u"X→→") : Q(u"XXX"));
        d.GoOn();
    }

    // Run 2 begins on a full clock, no longer red, all chances back and the run
    // banked. Its time runs out at the first question: with no stake, the banked
    // run is saved at once; the answer box and the level's movie stay as they are.
    ExpectLevelBegins(d, 1, 100000, 240, kRight, Heading(1));
    d.Easy();
    d.Control<TextBox>(S::Frmmain, "Txtanswer")->setText(QStringLiteral("半"));
    const QString provider = d.Text(S::Frmmain, "LblProvider"), answer = d.OnScreen().answer;
    const qsizetype before = d.Messages().size();
    d.OnShown(S::FrmSaveMoney, [&] {
        ExpectSaved(d, true, 100000);
        EXPECT_EQ(d.Texts(S::Frmmain, {"LblTime", "Txtanswer"}) << d.Movie(S::Frmmain), (QStringList{"0", "半", "1.swf"}));
        EXPECT_EQ(d.On(S::FrmSaveMoney).windowTitle(), Q(u"问鼎五关(Kessa Version)--保存分数"));
        EXPECT_EQ(d.Text(S::FrmSaveMoney, "TxtUserId"), QStringLiteral("glintora"));
        d.Upload(QStringLiteral("s3cret&x"));
        EXPECT_EQ(d.urls.opened, QStringList{ScoreAddress(QStringLiteral("s3cret&x"), 100000, provider)});
        d.messages.Script(Answer::Cancel);
        d.On(S::FrmSaveMoney).close(); // the close box asks as "退出游戏" does
        d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Ok);
    });
    d.Tick(240);
    d.ExpectAtStartAlone();
    EXPECT_EQ(d.Messages().mid(before),
              (QStringList{Q(u"对不起\u3000时间到!.正确答案应该是:") + answer + Q(u"\r  请进入爆煲游戏."),
                           Q(u"是否决定退出游戏\u3000"), Q(u"请确定你是否已经保存你所获得的分数")}));

    // The next game starts from nothing: no banked run, a full clock, all chances;
    // the questions of the last game stay marked played.
    EXPECT_EQ(d.PlayedMarks(), 19); // every question drawn but the first of the game
    PlayTo(d, 2);
    EXPECT_EQ(d.PlayedMarks(), 20);
}

TEST_P(TheGamble, SplitsTheStakeAsPickStopAndCountSay)
{
    const GambleWay& r = GetParam();
    GameDriver d{kSample};
    PlayTo(d, r.level, r.runs);
    const QString provider = d.Text(S::Frmmain, "LblProvider"), answer = d.OnScreen().answer;
    d.OnShown(S::FrmExplosion, [&] {
        Screen& gamble = d.On(S::FrmExplosion);
        const auto button = [&](int i) { return d.Control<Button>(S::FrmExplosion, "CmdNum", i); };
        EXPECT_EQ(QGuiApplication::modalWindow(), gamble.windowHandle());
        EXPECT_EQ(gamble.windowTitle(), Q(u"问鼎五关(Kessa Version)--爆煲游戏"));
        EXPECT_EQ(d.Texts(S::FrmExplosion, {"Label2", "LblScore"}) << d.Movie(S::FrmExplosion) << d.Movie(S::Frmmain),
                  (QStringList{Q(u"你目前获得的分数:\r%1").arg(kStake[r.level - 1]), "0", "explore.swf", ""}));
        EXPECT_FALSE(d.Enabled(S::FrmExplosion, "CmdStop"));
        gamble.close(); // nothing until the count has ended
        d.Pick(2, r.explode);
        EXPECT_EQ(d.Movie(S::FrmExplosion), QStringLiteral("baobao.swf"));
        EXPECT_EQ((Flags{button(0)->isVisible(), button(1)->isVisible(), button(2)->isVisible(), button(2)->isEnabled(),
                         !d.Text(S::FrmExplosion, "Label1").isEmpty(), d.Enabled(S::FrmExplosion, "CmdStop")}),
                  (Flags{false, false, true, false, false, true}));
        EXPECT_EQ(d.Control<QTimer>(S::FrmExplosion, "Timer1")->interval(), 1000) << "the first count after a second";
        d.OnShown(S::FrmSaveMoney, [&] {
            ExpectSaved(d, true, r.runs * 100000 + r.kept, provider, r.provider);
            d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Ok);
        });
        if (r.stopAt) {
            EXPECT_TRUE(d.CountTo(QString::fromUtf8(r.stopAt)).endsWith(QString::fromUtf8(r.stopAt)));
            gamble.close();
            d.PressStop(r.answer);
            if (!r.last) return;
            EXPECT_FALSE(d.Enabled(S::FrmExplosion, "CmdStop"));
        }
        EXPECT_TRUE(d.CountTo().endsWith(QString::fromUtf8(r.last)));
        EXPECT_EQ(d.Control<Label>(S::FrmExplosion, "LblScore")->BackColor() == kRed,
                  QString::fromUtf8(r.last).endsWith(u'爆'));
        EXPECT_EQ(d.Text(S::FrmExplosion, "CmdStop"), Q(u"继续"));
        EXPECT_TRUE(d.Enabled(S::FrmExplosion, "CmdStop"));
        r.closeBox ? void(gamble.close()) : d.PressStop();
    });
    d.AnswerWrong();
    d.ExpectAtStartAlone();
    EXPECT_EQ(d.Messages().mid(r.level - 1 + 5 * r.runs),
              QStringList{Q(u"对不起\u3000你的答错了.正确答案应该是:") + answer}
                  + QStringList(r.stopAt ? 1 : 0, Q(u"你想知道什么时候会爆或根本不会爆?"))
                  + QStringList{Q(u"请确定你是否已经保存你所获得的分数")});
}
INSTANTIATE_TEST_SUITE_P(WholeGame, TheGamble, testing::ValuesIn(kGambleWays),
                         [](const testing::TestParamInfo<GambleWay>& way) { return std::string(way.param.name); });

// Games that end early: misses with nothing gained, stops at a tally, a failing question file.
TEST(WholeGame, ThePlayedMarksStartOverWhenTenQuestionsOrFiveEasyOnesAreLeft)
{
    GameDriver d{kSample};
    PlayTo(d, 1);
    BankFixture::SqlOn(d.bank.File(), "update question set played=1 where id<=148; update easy set played=1 where id<=27");
    for (const QList<int>& marked : {QList<int>{149, 28}, QList<int>{1, 1}}) {
        d.Pass();
        d.Easy();
        EXPECT_EQ((QList<int>{d.PlayedMarks(), d.PlayedMarks("easy")}), marked);
    }
}

// A miss, or the time running out (for a player whose id has spaces around it).
TEST(WholeGame, NothingGainedEndsAtTheStartScreen)
{
    for (const bool timeUp : {false, true}) {
        GameDriver d{kSample};
        PlayTo(d, 1, 0, timeUp ? QStringLiteral(" kessa ") : QStringLiteral("glintora"));
        const QString answer = d.OnScreen().answer;
        timeUp ? d.Tick(240) : d.AnswerWrong();
        d.ExpectAtStartAlone();
        EXPECT_EQ(d.Messages(), QStringList{Q(u"对不起\u3000") + (timeUp ? Q(u"时间到!") : "")
                                            + Q(u"你的表现实在太差了\u3000一分都得不到\u3000正确答案应该是:") + answer
                                            + Q(u"\r 重新再玩吧\u3000")});
    }
}

// Four ways to the score-saving screen with no quiz screen left, where playing
// again asks first: a stop at a tally, by its close box or by "挪当前的分数算了",
// and a draw that fails while another program holds the question file, after a
// right answer or at the tally's "当然继续啦!" (told within one busy timeout).
TEST(WholeGame, AnEarlyEndWithAScoreLeavesTheScoreScreenAlone)
{
    GameDriver d{kSample};
    for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(way);
        PlayTo(d, way % 2 ? 1 : 2);
        if (way != 2) d.ClearLevel(way ? 1 : 2);
        std::optional<HeldLock> lock; // another program writing to the file, which stays readable
        if (way > 1) lock.emplace(d.bank.File());
        const QDeadlineTimer limit(Connection::kBusyTimeoutMs + 3000);
        if (way == 0) d.On(S::FrmCountUp).close();
        if (way == 1) d.StopAtTally();
        if (way == 2) d.Type(d.OnScreen().answer);
        if (way == 3) d.GoOn();
        lock.reset();
        ExpectSaved(d, false, way ? 5000 : 10000);
        EXPECT_FALSE(limit.hasExpired()) << "one busy timeout, and no second one";
        EXPECT_EQ(d.messages.notices.size(), std::max(0, way - 1));
        EXPECT_TRUE(way < 2 || d.messages.notices.back().contains(Q(u"正被另一个程序使用")));
        EXPECT_EQ(d.State(S::Frmmain), ScreenState::NotLoaded);
        const qsizetype before = d.Messages().size();
        d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Cancel);
        d.At(QStringLiteral("FrmSaveMoney"));
        d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Ok);
        d.ExpectAtStartAlone();
        EXPECT_EQ(d.Messages().mid(before), QStringList(2, Q(u"请确定你是否已经保存你所获得的分数")));
    }
    EXPECT_TRUE(d.urls.opened.isEmpty());
}

TEST(WholeGame, AQuestionFileSpoiltSinceSignInIsToldAndTheGameEndsAtTheStart)
{
    GameDriver d{kSample};
    d.SignIn();
    BankFixture::SqlOn(d.bank.File(), "drop table question");
    d.PressStart();
    d.ExpectAtStartAlone();
    EXPECT_TRUE(d.messages.notices.back().contains(Q(u"已经损坏")));
}

// The game's own message boxes and the quiz screen's own clock. The player
// answers the quit question with Escape once the clock has run on under it,
// then leaves it open: it closes as the time runs out, the time-up road runs
// as ever, and no two boxes are ever up at once. At the end the quiz screen is
// gone and deleted, and the score was sent once.
TEST(WholeGame, TheRealQuitQuestionLeftOpenClosesWhenTheTimeRunsOut)
{
    using enum MessageId;
    for (const bool stake : {false, true}) {
        SCOPED_TRACE(stake ? "a stake in play" : "nothing gained");
        GameDriver d{kSample, true};
        QStringList seen; // the boxes as they open, in order
        QPointer<QMessageBox> last;
        QString timeAtOpen;
        QTimer player;
        QObject::connect(&player, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            const bool quit = box->text() == MessageText(ConfirmLeave);
            if (box != last) {
                last = box;
                seen << box->text();
                if (quit) timeAtOpen = d.Text(S::Frmmain, "LblTime");
            }
            if (quit && (seen.count(box->text()) == 2 || d.Text(S::Frmmain, "LblTime") == timeAtOpen)) return;
            int up = 0;
            for (QWidget* w : QApplication::topLevelWidgets()) up += qobject_cast<QMessageBox*>(w) && w->isVisible();
            EXPECT_EQ(up, 1);
            QTest::keyClick(box, quit ? Qt::Key_Escape : Qt::Key_Return);
        });
        player.start(2);

        PlayTo(d, 1);
        if (stake) {
            d.AnswerRight();
            d.GoOn();
        }
        d.Tick(230);
        d.Control<QTimer>(S::Frmmain, "Timer1")->setInterval(5);
        d.Control<Button>(S::Frmmain, "Cmdquit")->click();
        d.At(QStringLiteral("Frmmain"));
        const QPointer<Screen> quiz = &d.On(S::Frmmain);
        const QString provider = d.Text(S::Frmmain, "LblProvider"), answer = d.OnScreen().answer;
        if (stake) {
            d.OnShown(S::FrmExplosion, [&] {
                d.Control<QTimer>(S::FrmExplosion, "Timer1")->setInterval(5); // its own first count
                d.Pick(2);
                EXPECT_TRUE(ScreenRig::WaitUntil([&] { return d.Text(S::FrmExplosion, "LblScore") == "200"; }));
                d.CountTo();
                d.OnShown(S::FrmSaveMoney, [&] {
                    ExpectSaved(d, true, 5000);
                    d.Upload(QStringLiteral("pw"));
                    d.Control<Button>(S::FrmSaveMoney, "CmdQuit")->click();
                });
                d.PressStop();
            });
        }
        d.Control<Button>(S::Frmmain, "Cmdquit")->click();
        d.ExpectAtStartAlone();
        QStringList expected{MessageText(ConfirmLeave), MessageText(ConfirmLeave),
                             MessageText(stake ? TimeUpWithScore : TimeUpNoScore, answer)};
        if (stake) expected = QStringList{MessageText(LevelCleared)} + expected + QStringList{MessageText(ConfirmSaved)};
        EXPECT_EQ(seen, expected.replaceInStrings(QStringLiteral("\r"), QStringLiteral("\n")));
        EXPECT_EQ(d.urls.opened, stake ? QStringList{ScoreAddress(QStringLiteral("pw"), 5000, provider)} : QStringList{});
        EXPECT_TRUE(ScreenRig::WaitUntil([&] { return quiz.isNull(); })) << "the unloaded quiz screen was never deleted";
    }
}
