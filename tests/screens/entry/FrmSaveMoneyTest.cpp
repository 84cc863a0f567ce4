// The score-saving screen over the hidden start screen, as the tally's stop
// button leaves them, the other screens real and every side effect recorded.
// The upload through a real browser is in the desktop tests.
#include <gtest/gtest.h>

#include <QTest>
#include <QUrlQuery>

#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "ui/Screen.h"

using namespace wd;
using namespace wd::test;
using S = ScreenId;

namespace {

const QString kRegister = QStringLiteral("http://www.xinglan.example/asp/register/4-01.asp");

struct SaveMoney : ScreenRig, ::testing::Test {
    void Open(int clears, int stake, const QString& provider, int providerScore)
    {
        RegisterAllScreens(screens);
        screens.Show(S::FrmStart);
        screens.Loaded(S::FrmStart)->controls().Get<TextBox>("TxtUserId")->setText(QStringLiteral("alice"));
        screens.Hide(S::FrmStart);
        session.PlayerId = QStringLiteral("glintora");
        session.ClearCount = static_cast<std::int16_t>(clears);
        session.StakeScore = stake;
        session.ProviderName = provider;
        session.ProviderScore = providerScore;
        screens.Show(S::FrmSaveMoney);
    }
    template <class T> T* Get(const char* name) { return screens.Loaded(S::FrmSaveMoney)->controls().Get<T>(name); }
    void Click(const char* link) { QTest::mouseClick(Get<Label>(link), Qt::LeftButton, {}, QPoint(2, 2)); }
    QString Upload()
    {
        Click("Label1");
        return urls.opened.last();
    }
    // Play again: the start screen comes back with its own id box.
    void ExpectBackAtStart()
    {
        EXPECT_EQ(screens.State(S::FrmSaveMoney), ScreenState::NotLoaded);
        EXPECT_EQ(screens.State(S::FrmStart), ScreenState::Shown);
        EXPECT_EQ(screens.Loaded(S::FrmStart)->controls().Get<TextBox>("TxtUserId")->text(), QStringLiteral("alice"));
    }
};

} // namespace

TEST_F(SaveMoney, UploadsTheTypedNameAndFiguresOnceThenTheBankedRunsAloneAndPlaysAgain)
{
    Open(2, 30000, QStringLiteral("星澜"), 7000);
    EXPECT_TRUE(Get<Label>("LblProviderScore")->isVisible());
    Get<TextBox>("TxtUserId")->setText(QStringLiteral("叶 子+1"));
    Get<TextBox>("TxtPassword")->setText(QStringLiteral("a&b=c#d%"));
    const QString address = Upload();
    EXPECT_TRUE(address.startsWith(QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp?userid=")));
    QStringList items;
    for (const auto& [key, value] : QUrlQuery(QUrl(address, QUrl::StrictMode)).queryItems(QUrl::FullyDecoded))
        items << key + u'=' + value;
    EXPECT_EQ(items, (QStringList{"userid=叶 子+1", "passwd=a&b=c#d%", "playercash=230000", "provider=星澜",
                                  "providercash=7000"}));
    for (int again = 0; again < 2; ++again)
        EXPECT_TRUE(Upload().endsWith(QStringLiteral("&playercash=200000&provider=%E6%98%9F%E6%BE%9C&providercash=0")));
    Click("Label4");
    EXPECT_EQ(urls.opened.size(), 4);
    EXPECT_EQ(urls.opened.last(), kRegister);
    EXPECT_TRUE(messages.notices.empty());
    QStringList texts{screens.Loaded(S::FrmSaveMoney)->windowTitle()};
    for (const char* label : {"LblTotal", "LblProviderScore", "Lblremark", "Label2", "Label3", "Label1", "Label4"})
        texts << Get<Label>(label)->Caption();
    texts << Get<Button>("CmdQuit")->text() << Get<Button>("CmdExit")->text();
    EXPECT_EQ(texts, (QStringList{"问鼎五关(Kessa Version)--保存分数", "你总共获得分数\u3000230000", "星澜获得\u30007000",
                                  "辛苦啦!请输入你在星澜小站注册的用户名和密码,登录星澜小站保存你获得的分数.祝你好运（请确认你现在已经连接Internet,否则你所得到的分数不能保存到网站的数据库)",
                                  "用户名:", "密码:", "保存我的分数", "新用户注册", "再玩一次", "退出游戏"}));

    // The name typed here holds until the next game, which takes the start screen's.
    Get<Button>("CmdQuit")->click();
    ExpectBackAtStart();
    EXPECT_EQ(session.PlayerId, QStringLiteral("叶 子+1"));
    EXPECT_EQ(session.ClearCount, 2);
}

TEST_F(SaveMoney, CancelInEitherConfirmationOrTheCloseBoxLeavesAllAsItWasAndOkPlaysAgain)
{
    Open(0, 20000, QStringLiteral("Kessa"), 0);
    EXPECT_FALSE(Get<Label>("LblProviderScore")->isVisible());
    for (int i = 0; i < 3; ++i) messages.Script(Answer::Cancel);
    Get<Button>("CmdQuit")->click();
    Get<Button>("CmdExit")->click();
    screens.Loaded(S::FrmSaveMoney)->close(); // asks as the quit button does
    std::vector<MessageId> asked;
    for (const auto& shown : messages.shown) asked.push_back(shown.id);
    EXPECT_EQ(asked, (std::vector{MessageId::ConfirmSaved, MessageId::ConfirmQuit, MessageId::ConfirmQuit}));
    EXPECT_EQ(screens.State(S::FrmSaveMoney), ScreenState::Shown);
    EXPECT_EQ(session.StakeScore, 20000);
    Get<Button>("CmdQuit")->click();
    ExpectBackAtStart();
    EXPECT_EQ(session.StakeScore, 0);
    EXPECT_EQ(programEnds, 0);
}

// The opener answers late here, as the desktop's does: only a launch known to
// have succeeded spends the figures, and a failure is told once nothing is
// open over the screen.
TEST_F(SaveMoney, AFailedUploadKeepsTheFiguresAndTheScreenAndAQuitWaitsForTheLaunch)
{
    Open(1, 20000, QStringLiteral("Kessa"), 5000);
    Get<TextBox>("TxtPassword")->setText(QStringLiteral("s3cret"));
    urls.late = true;
    const QString address = Upload();
    Upload(); // undecided: not sent twice
    // Failing while "yes, I have saved" is asked: told afterwards, and the screen stays.
    messages.whileShown = [this] {
        urls.Decide(false);
        EXPECT_TRUE(messages.notices.empty());
    };
    Get<Button>("CmdQuit")->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.notices.size(), 1u);
    EXPECT_TRUE(messages.notices[0].contains(QStringLiteral("&passwd=******&playercash=120000&")));
    EXPECT_EQ(messages.copyable, std::vector<QString>{address});
    EXPECT_EQ(screens.State(S::FrmSaveMoney), ScreenState::Shown);
    EXPECT_EQ(session.StakeScore + session.ProviderScore, 25000);

    // A quit confirmed while undecided waits for the launch, and for a notice
    // open when it succeeds; the success spends the figures.
    Click("Label4");
    EXPECT_EQ(Upload(), address);
    Get<Button>("CmdExit")->click();
    messages.whileShown = [this] {
        urls.Decide(true);
        EXPECT_EQ(programEnds, 0);
    };
    urls.Decide(false); // the registration page's notice
    QCoreApplication::processEvents();
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(session.StakeScore + session.ProviderScore, 0);
    EXPECT_EQ(urls.opened, (QStringList{address, kRegister, address}));
}
