// The start and quiz screens on a generated question file: question N reads
// "question N ____", its answer is "aN" (easy: "easy N ____", "eN"). The whole
// game's roads are in the e2e tests; these are the screens' own corners.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QTest>

#include "fakes/BankFixture.h"
#include "fakes/GameDriver.h"
#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "screens/entry/FrmStart.h"

using namespace wd;
using namespace wd::test;
using S = ScreenId;

namespace {
QString FileOf(const BankFixture& f) { return QString::fromStdString(f.File().string()); }
} // namespace

TEST(FrmStart, LoadsWithTheBankOpenAndItsLinksOpenTheSitesPages)
{
    BankFixture f;
    GameDriver d(FileOf(f));
    EXPECT_TRUE(d.bank.Usable());
    EXPECT_EQ(d.session.QuestionCount, 159);
    Screen& start = d.On(S::FrmStart);
    start.controls().Get<Label>("Label1")->Clicked();
    start.controls().Get<Label>("Label4")->Clicked();
    EXPECT_EQ(d.urls.opened, (QStringList{QStringLiteral("http://www.xinglan.example/"),
                                         QStringLiteral("http://www.xinglan.example/asp/register/4-01.asp")}));
    d.urls.answer = false; // no browser at all
    start.controls().Get<Label>("Label1")->Clicked();
    ASSERT_EQ(d.messages.notices.size(), 1u);
    EXPECT_TRUE(d.messages.notices[0].contains(QStringLiteral("http://www.xinglan.example/")));
    EXPECT_EQ(d.messages.copyable, std::vector<QString>{QStringLiteral("http://www.xinglan.example/")});
    // A failure that comes once a game has begun is not shown over it.
    d.urls.late = true;
    start.controls().Get<Label>("Label4")->Clicked();
    d.SignIn();
    d.urls.Decide(false);
    EXPECT_EQ(d.messages.notices.size(), 1u);
    EXPECT_EQ(d.Shown(), QStringLiteral("Frmmain"));
}

TEST(FrmStart, ABlankIdIsRefusedAndChangesNothing)
{
    BankFixture f;
    GameDriver d(FileOf(f));
    d.session.Level = 4;
    d.session.StakeScore = 777;
    TextBox* id = d.Control<TextBox>(S::FrmStart, "TxtUserId");
    for (const QString& blank : {QStringLiteral("   "), QString()}) {
        id->setText(blank);
        QTest::keyClick(id, Qt::Key_Return); // Enter starts like the button
    }
    d.SignIn(QStringLiteral("  "));
    ASSERT_EQ(d.messages.shown.size(), 3u);
    for (const auto& shown : d.messages.shown) EXPECT_EQ(shown.id, MessageId::EnterUserId);
    EXPECT_EQ(d.session.Level, 4);
    EXPECT_EQ(d.session.StakeScore, 777);
    EXPECT_TRUE(d.session.PlayerId.isEmpty());
    EXPECT_EQ(d.Shown(), QStringLiteral("FrmStart"));
    EXPECT_EQ(d.On(S::FrmStart).focusWidget(), id);
}

// The start screen comes up whatever the file's state; its start button tries
// the file again, so a file let go or put back starts a game at once.
TEST(FrmStart, AStartPressTriesTheFileAgainAndNamesWhatIsWrongUntilItIsRight)
{
    using Mend = std::function<void()>;
    const struct {
        std::function<Mend(BankFixture&)> spoil;
        const char* says;
    } cases[] = {
        {[](BankFixture& f) -> Mend {
             auto lock = std::make_shared<HeldLock>(f.File(), "begin exclusive");
             return [lock]() mutable { lock.reset(); };
         },
         "正被另一个程序使用"},
        {[](BankFixture& f) -> Mend {
             const auto away = f.Folder() / "elsewhere.bin";
             std::filesystem::rename(f.File(), away);
             return [&f, away] { std::filesystem::rename(away, f.File()); };
         },
         "找不到题库文件"},
    };
    for (const auto& c : cases) {
        BankFixture f;
        f.Sql("update question set played=1 where id<9");
        Mend mend = c.spoil(f);
        ScreenRig rig(f.File());
        RegisterAllScreens(rig.screens);
        rig.screens.Show(S::FrmStart);
        QPushButton* start = rig.screens.Loaded(S::FrmStart)->controls().Get<Button>("CmdStart");
        start->click();
        ASSERT_EQ(rig.messages.notices.size(), 1u) << c.says;
        EXPECT_TRUE(rig.messages.notices[0].contains(QString::fromUtf8(c.says))) << rig.messages.notices[0].toStdString();
        EXPECT_EQ(rig.screens.State(S::Frmmain), ScreenState::NotLoaded);

        mend();
        start->click();
        EXPECT_EQ(rig.messages.notices.size(), 1u);
        EXPECT_EQ(rig.screens.State(S::Frmmain), ScreenState::Shown) << c.says;
        EXPECT_EQ(f.Number("select count(*) from question where played<>0"), 0) << "opened afresh";
    }
}

TEST(FrmStart, HelpOpensModallyOverItAndQuitAndTheCloseBoxesOfBothScreensEndTheProgram)
{
    BankFixture f;
    GameDriver quit(FileOf(f)), closed(FileOf(f)), quizClosed(FileOf(f));
    quit.OnShown(S::FrmHelp, [&] {
        EXPECT_EQ(quit.Shown(), QStringLiteral("FrmStart FrmHelp"));
        EXPECT_EQ(quit.On(S::FrmHelp).windowModality(), Qt::ApplicationModal);
        quit.On(S::FrmHelp).close();
    });
    quit.Control<Button>(S::FrmStart, "CmdHelp")->click();
    EXPECT_EQ(quit.Shown(), QStringLiteral("FrmStart"));
    EXPECT_EQ(quit.State(S::FrmHelp), ScreenState::NotLoaded);
    quit.Control<Button>(S::FrmStart, "CmdQuit")->click();
    closed.On(S::FrmStart).close();
    EXPECT_EQ(quit.programEnds, 1);
    EXPECT_EQ(closed.programEnds, 1);

    quizClosed.SignIn();
    quizClosed.PressStart();
    quizClosed.messages.Script(Answer::Ok);
    quizClosed.On(S::Frmmain).close(); // asks as the quit button does
    ASSERT_EQ(quizClosed.messages.shown.size(), 1u);
    EXPECT_EQ(quizClosed.messages.shown[0].id, MessageId::ConfirmLeave);
    EXPECT_EQ(quizClosed.programEnds, 1);
}
