// The start screen on a generated question file, the other screens real and
// every side effect recorded. Whole games are in the e2e tests.
#include <gtest/gtest.h>

#include <QTest>

#include "fakes/BankFixture.h"
#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "ui/AnimationPanel.h"
#include "ui/Screen.h"

using namespace wd;
using namespace wd::test;
using S = ScreenId;

namespace {

const QString kHome = QStringLiteral("http://www.xinglan.example/");

struct Start : ScreenRig {
    explicit Start(const BankFixture& f) : ScreenRig(f.File())
    {
        RegisterAllScreens(screens);
        screens.Show(S::FrmStart);
    }
    template <class T> T* Get(const char* name) { return screens.Loaded(S::FrmStart)->controls().Get<T>(name); }
};

} // namespace

TEST(FrmStart, LoadsTheBankTheTitleThemeAndItsTextsAndItsLinksOpenTheSitesPagesButNotOverAGame)
{
    BankFixture f;
    Start s(f);
    EXPECT_TRUE(s.bank.Usable());
    EXPECT_TRUE(s.Get<AnimationPanel>("ShockwaveFlash1")->Movie().endsWith(QStringLiteral("/swf/bantou.swf")));
    s.Get<Label>("Label1")->Clicked();
    s.Get<Label>("Label4")->Clicked();
    EXPECT_EQ(s.urls.opened, (QStringList{kHome, kHome + QStringLiteral("asp/register/4-01.asp")}));
    QStringList texts{s.screens.Loaded(S::FrmStart)->windowTitle(), s.Get<TextBox>("TxtUserId")->text()};
    for (const char* label : {"Lblremark", "Label2", "Label1", "Label4"}) texts << s.Get<Label>(label)->Caption();
    for (const char* button : {"CmdStart", "CmdHelp", "CmdQuit"}) texts << s.Get<Button>(button)->text();
    EXPECT_EQ(texts, (QStringList{"问鼎五关(Kessa Version)--星澜小站", "glintora", "问鼎五关\r接受全球澜迷大考验",
                                  "请输入你在星澜小站注册的用户名:", "到星澜小站升级", "新用户注册", "开始接受考验",
                                  "教你玩", "退出游戏"}));

    // No browser: the player is told, with the address to copy; not once a game has begun.
    s.urls.answer = false;
    s.Get<Label>("Label1")->Clicked();
    ASSERT_EQ(s.messages.notices.size(), 1u);
    EXPECT_TRUE(s.messages.notices[0].contains(kHome));
    EXPECT_EQ(s.messages.copyable, std::vector<QString>{kHome});
    s.urls.late = true;
    s.Get<Label>("Label4")->Clicked();
    s.Get<Button>("CmdStart")->click();
    s.urls.Decide(false);
    EXPECT_EQ(s.messages.notices.size(), 1u);
    EXPECT_EQ(s.screens.State(S::Frmmain), ScreenState::Shown);
}

TEST(FrmStart, ABlankIdIsRefusedAndChangesNothingAnIdWithSpacesStartsAFreshGameAsTyped)
{
    BankFixture f;
    Start s(f);
    s.session.Level = 4;
    s.session.StakeScore = 777;
    TextBox* id = s.Get<TextBox>("TxtUserId");
    for (const char* blank : {"   ", ""}) {
        id->setText(QString::fromLatin1(blank));
        QTest::keyClick(id, Qt::Key_Return); // Enter starts like the button
    }
    s.Get<Button>("CmdStart")->click();
    ASSERT_EQ(s.messages.shown.size(), 3u);
    for (const auto& shown : s.messages.shown) EXPECT_EQ(shown.id, MessageId::EnterUserId);
    EXPECT_EQ(std::pair(int{s.session.Level}, s.session.StakeScore), std::pair(4, 777));
    EXPECT_TRUE(s.session.PlayerId.isEmpty());
    EXPECT_EQ(s.screens.State(S::Frmmain), ScreenState::NotLoaded);
    EXPECT_EQ(s.screens.Loaded(S::FrmStart)->focusWidget(), id);

    id->setText(QStringLiteral(" kessa "));
    QTest::keyClick(id, Qt::Key_Enter);
    const Module1& m = s.session;
    EXPECT_EQ(m.PlayerId, QStringLiteral(" kessa "));
    EXPECT_EQ(std::vector<int>({m.TimeLeft, m.Level, m.ClearCount, m.EasyLeft, m.PassesLeft, m.StakeScore, m.ProviderScore}),
              std::vector<int>({240, 1, 0, 3, 4, 0, 0}));
    EXPECT_EQ(s.screens.State(S::FrmStart), ScreenState::Hidden);
    EXPECT_TRUE(s.screens.Loaded(S::Frmmain)->controls().Get<Button>("CmdStart")->isVisible());
    s.screens.Loaded(S::Frmmain)->close(); // its close box asks as its quit button does
    EXPECT_EQ(s.messages.shown.back().id, MessageId::ConfirmLeave);
    EXPECT_EQ(s.programEnds, 1);
}

// The start screen comes up whatever the file's state; its start button tries
// the file again, so a file that another program let go starts a game at once.
TEST(FrmStart, AStartPressTriesTheFileAgainUntilAnotherProgramLetsItGo)
{
    BankFixture f;
    auto lock = std::make_unique<HeldLock>(f.File(), "begin exclusive");
    Start s(f);
    s.Get<Button>("CmdStart")->click();
    ASSERT_EQ(s.messages.notices.size(), 1u);
    EXPECT_TRUE(s.messages.notices[0].contains(QStringLiteral("正被另一个程序使用"))) << s.messages.notices[0].toStdString();
    EXPECT_EQ(s.screens.State(S::Frmmain), ScreenState::NotLoaded);
    lock.reset();
    s.Get<Button>("CmdStart")->click();
    EXPECT_EQ(s.messages.notices.size(), 1u);
    EXPECT_EQ(s.screens.State(S::Frmmain), ScreenState::Shown);
}

TEST(FrmStart, QuitAndTheCloseBoxEndTheProgram)
{
    BankFixture f;
    Start quit(f), closed(f);
    quit.Get<Button>("CmdQuit")->click();
    closed.screens.Loaded(S::FrmStart)->close();
    EXPECT_EQ(quit.programEnds + closed.programEnds, 2);
}
