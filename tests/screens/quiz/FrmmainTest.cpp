#include <gtest/gtest.h>

#include <functional>

#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QTest>

#include "fakes/BankFixture.h"
#include "fakes/AccessibleTree.h"
#include "fakes/GameDriver.h"
#include "fakes/ScreenRig.h"
#include "screens/quiz/Frmmain.h"
#include "ui/Look.h"

using namespace wd;
using namespace wd::test;
using S = ScreenId;

namespace {

// A game on the generated file, signed in; the first question is `first`.
struct Quiz {
    explicit Quiz(int first = 1, bool start = true)
    {
        d.SignIn();
        d.random.Push(RFor(first, 159));
        if (start) d.PressStart();
    }
    Frmmain& q() { return static_cast<Frmmain&>(d.On(S::Frmmain)); }
    QString Question() { return d.Text(S::Frmmain, "Lblquestion"); }

    BankFixture file;
    GameDriver d{QString::fromStdString(file.File().string())};
};

} // namespace

TEST(Frmmain, IgnoresEnterBeforeTheStartButtonWhichDrawsTheFirstQuestion)
{
    Quiz g(42, false);
    g.d.session.ProviderName = QStringLiteral("earlier");
    for (const char* name : {"CmdOK", "CmdPass", "CmdEasy"}) EXPECT_FALSE(g.d.Enabled(S::Frmmain, name)) << name;
    EXPECT_EQ(g.d.Text(S::Frmmain, "LblProvider"), QString());
    g.d.Type(QStringLiteral("a1"));
    EXPECT_TRUE(g.d.messages.shown.empty());
    EXPECT_EQ(g.d.Shown(), QStringLiteral("Frmmain"));

    g.d.PressStart();
    EXPECT_EQ(g.Question(), QStringLiteral("question 42 ____"));
    EXPECT_EQ(g.d.Text(S::Frmmain, "LblProvider"), QStringLiteral("fan0"));
    EXPECT_EQ(g.d.session.ProviderName, QStringLiteral("earlier")) << "named only when a stake is lost";
    EXPECT_TRUE(g.q().controls().Get<AnimationPanel>("SwfBackground")->Movie().endsWith(QStringLiteral("/swf/1.swf")));
}

TEST(Frmmain, AnswersCompareExactlyButForTheSpacesAroundThem)
{
    Quiz g;
    g.d.ClearLevel(1);
    g.d.GoOn();
    const QString answer = g.d.OnScreen().answer;
    g.d.Type(QStringLiteral("  ") + answer + QStringLiteral("\u3000"));
    EXPECT_EQ(g.d.Slots(), QStringLiteral("V|O|||"));
    EXPECT_EQ(g.d.Text(S::Frmmain, "LblNo"), QStringLiteral("2"));
    EXPECT_TRUE(g.d.Text(S::Frmmain, "Txtanswer").isEmpty());
    EXPECT_EQ(g.d.messages.shown.size(), 1u); // only level 1's "恭喜!你过关啦!!"

    const std::function<QString(QString)> typos[] = {[](QString a) { return a.toUpper(); },
                                                     [](QString a) { return QStringLiteral("ａ") + a.mid(1); }};
    for (const auto& typo : typos) {
        Quiz h(7);
        h.d.Type(typo(h.d.OnScreen().answer));
        ASSERT_EQ(h.d.messages.shown.size(), 1u);
        EXPECT_EQ(h.d.messages.shown[0].id, MessageId::WrongNoScore);
    }
}

TEST(Frmmain, EasyQuestionsAndPassesMarkTheirUseAndRunOut)
{
    Quiz g;
    g.d.Easy();
    EXPECT_TRUE(g.Question().startsWith(QStringLiteral("easy ")));
    EXPECT_EQ(g.d.Marks(), QStringLiteral("X→→"));
    for (int pass = 1; pass <= 4; ++pass) {
        const QString before = g.Question();
        g.d.Pass(); // after an easy question, an ordinary one; the marker stays
        EXPECT_EQ(g.q().controls().Get<Label>("Lblque", pass)->BackColor(), ToQColor(Colour::PaleCyan)) << pass;
        EXPECT_NE(g.Question(), before);
        EXPECT_TRUE(g.Question().startsWith(QStringLiteral("question ")));
        EXPECT_TRUE(g.d.Visible(S::Frmmain, "LblEasyLable"));
    }
    EXPECT_EQ(g.q().controls().Get<Label>("Lblque", 0)->BackColor(), ToQColor(Colour::BoxBlue));
    EXPECT_FALSE(g.d.Enabled(S::Frmmain, "CmdPass"));
    EXPECT_EQ(g.d.Text(S::Frmmain, "LblNo"), QStringLiteral("1"));

    g.d.Easy();
    g.d.Easy();
    EXPECT_EQ(g.d.Marks(), QStringLiteral("XXX"));
    EXPECT_FALSE(g.d.Enabled(S::Frmmain, "CmdEasy"));
    g.d.AnswerRight(); // an easy question clears level 1 like any other
    EXPECT_EQ(g.d.Shown(), QStringLiteral("FrmCountUp"));
    EXPECT_EQ(g.d.Marks(S::FrmCountUp), QStringLiteral("XXX"));
}

TEST(Frmmain, AnInputMethodComposesInTheAnswerBoxAndItsCommitDoesNotAnswer)
{
    Quiz g;
    TextBox* box = g.q().controls().Get<TextBox>("Txtanswer");
    EXPECT_TRUE(box->testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent composing(QStringLiteral("bumian"), {});
    QCoreApplication::sendEvent(box, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("不眠岛")); // what the input method's Enter sends
    QCoreApplication::sendEvent(box, &commit);
    EXPECT_EQ(box->text(), QStringLiteral("不眠岛"));
    EXPECT_TRUE(g.d.messages.shown.empty());
    EXPECT_EQ(g.d.Text(S::Frmmain, "LblNo"), QStringLiteral("1"));
}

// The question file fails during a run: the run ends at once, the player
// answers nothing more and keeps what the run has earned, as at a stop at the tally.
TEST(Frmmain, AFailedDrawEndsTheRunWithANoticeWithinOneBusyTimeoutKeepingWhatThePlayerHolds)
{
    const struct {
        bool started;
        std::function<void(GameDriver&)> play; // ends with the draw that fails
        const char* says;
        const char* shown;
        int total;
    } cases[] = {
        {false,
         [](GameDriver& d) {
             BankFixture::SqlOn(d.bank.File(), "drop table question");
             d.PressStart();
         },
         "已经损坏", "FrmStart", 0},
        {true,
         [](GameDriver& d) {
             d.ClearLevel(1);
             d.GoOn();
             const QString answer = d.OnScreen().answer;
             HeldLock lock(d.bank.File());
             d.Type(answer);
         },
         "正被另一个程序使用", "FrmSaveMoney", 5000},
        {true,
         [](GameDriver& d) {
             d.ClearLevel(1);
             HeldLock lock(d.bank.File());
             d.GoOn();
         },
         "正被另一个程序使用", "FrmSaveMoney", 5000},
    };
    for (const auto& c : cases) {
        Quiz g(1, c.started);
        QElapsedTimer clock;
        clock.start();
        c.play(g.d);
        EXPECT_LT(clock.elapsed(), Connection::kBusyTimeoutMs + 3000) << "one busy timeout, and no second one";
        ASSERT_EQ(g.d.messages.notices.size(), 1u) << c.shown;
        EXPECT_TRUE(g.d.messages.notices[0].contains(QString::fromUtf8(c.says))) << g.d.messages.notices[0].toStdString();
        EXPECT_EQ(g.d.Shown(), QString::fromLatin1(c.shown));
        EXPECT_EQ(g.d.State(S::Frmmain), ScreenState::NotLoaded);
        EXPECT_EQ(g.d.session.TotalScore(), c.total);
    }
}

TEST(Frmmain, TheFirstTickComesOneSecondAfterTheStart)
{
    Quiz g(1, false);
    g.q().controls().Get<QTimer>("Timer1")->setInterval(1000); // the driver's hand-ticked clock back to real time
    g.d.PressStart();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(ScreenRig::WaitUntil([&] { return g.d.Text(S::Frmmain, "LblTime") == QStringLiteral("239"); }, 3000));
    EXPECT_GE(clock.elapsed(), 900);
}

// Only the quit question lets the clock run on: every other message of the
// quiz screen finds it stopped, and on a clock of one millisecond the seconds
// stay as they are while the message waits in its own event loop.
TEST(Frmmain, TheClockIsStoppedBeforeEveryMessageButTheQuitQuestion)
{
    using enum MessageId;
    struct Road {
        bool stake, timeUp;
        std::vector<MessageId> messages;
    };
    const Road roads[] = {{false, false, {WrongNoScore}}, {true, false, {LevelCleared, WrongAnswer}},
                          {false, true, {TimeUpNoScore}}, {true, true, {LevelCleared, TimeUpWithScore}}};
    for (const Road& road : roads) {
        Quiz g;
        QTimer* clock = g.q().controls().Get<QTimer>("Timer1");
        std::vector<MessageId> seen;
        g.d.messages.Nest([&](MessageId id) {
            seen.push_back(id);
            EXPECT_FALSE(clock->isActive()) << static_cast<int>(id);
            QTimer::singleShot(20, &g.d.screens, [&g, id, time = g.d.Text(S::Frmmain, "LblTime")] {
                EXPECT_EQ(g.d.Text(S::Frmmain, "LblTime"), time) << static_cast<int>(id);
                g.d.messages.Reply(Answer::Ok);
            });
        });
        clock->setInterval(1);
        if (road.stake) {
            g.d.ClearLevel(1);
            g.d.GoOn();
            g.d.OnShown(S::FrmExplosion, [&] { g.d.screens.EndProgram(); });
        }
        if (road.timeUp) {
            g.d.Tick(239);
            ScreenRig::WaitUntil([&] { return seen.size() == road.messages.size() && !g.d.messages.OpenCount(); });
        } else {
            g.d.AnswerWrong();
        }
        EXPECT_EQ(seen, road.messages);
    }
}

TEST(FrmmainAccessible, AScreenReaderReadsTheQuestionProviderTimeScoreMarksAndButtonsAsTheyChange)
{
    Quiz g(42);
    Frmmain* q = &g.q();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(q);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_TRUE(window->text(QAccessible::Description).startsWith(QStringLiteral("答题")));

    const auto nodes = AccessibleNodes(*q);
    const auto w = [q](const char* name, int index = kNoIndex) { return q->controls().Get<QWidget>(name, index); };
    const std::pair<QWidget*, const char16_t*> said[] = {
        {w("Lblquestion"), u"题目：question 42 ____"}, {w("LblProvider"), u"出题者：fan0"},
        {w("LblTime"), u"剩余时间：240"}, {w("LblPlayscore"), u"得分：0"},
        {w("LblPlayer"), u"玩家：glintora"}, {w("Lblque", 0), u"第1题：O"},
        {w("Lblque", 4), u"第5题"}, // an empty slot says its place
        {w("Framain"), u"玩家 得分 剩余时间"}, {w("Frame1"), u"本关题目"}, {w("Txtanswer"), u"答案"},
        {w("CmdEasy"), u"拣手题"}, {w("CmdPass"), u"PASS"}, {w("CmdOK"), u"确定"},
        {w("Cmdquit"), u"退出"}};
    for (const auto& [control, name] : said)
        EXPECT_EQ(NodeOf(nodes, control).name, QString::fromUtf16(name)) << control->objectName().toStdString();
    EXPECT_EQ(NodeOf(nodes, w("Lblquestion")).role, QAccessible::StaticText);
    EXPECT_EQ(NodeOf(nodes, w("Txtanswer")).role, QAccessible::EditableText);
    EXPECT_EQ(NodeOf(nodes, w("CmdEasy")).role, QAccessible::Button);
    for (const AccessibleNode& node : nodes) {
        EXPECT_FALSE(node.name.isEmpty()) << node.object->objectName().toStdString();
        EXPECT_FALSE(node.name.contains(u'&')) << node.name.toStdString();
    }
    // The names follow the clock and the next question.
    g.d.Tick();
    EXPECT_EQ(NodeOf(AccessibleNodes(*q), w("LblTime")).name, QStringLiteral("剩余时间：239"));
    q->CmdPass_Click();
    EXPECT_NE(g.Question(), QStringLiteral("question 42 ____"));
    EXPECT_EQ(NodeOf(AccessibleNodes(*q), w("Lblquestion")).name, QStringLiteral("题目：") + g.Question());
}
