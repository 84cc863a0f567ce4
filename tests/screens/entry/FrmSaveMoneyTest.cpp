// The score-saving screen: the upload address and what it spends, the links,
// the two confirmations, play again from each screen that opens it, and the
// upload reaching a real default browser. The e2e roads show its figures.
#include <gtest/gtest.h>

#include <QTest>
#include <QUrlQuery>

#include "fakes/BankFixture.h"
#include "fakes/FakeBrowser.h"
#include "fakes/GameDriver.h"
#include "fakes/ScreenRig.h"
#include "screens/entry/FrmStart.h"
#include "platform/UrlOpener.h"
#include "screens/entry/FrmSaveMoney.h"

using namespace wd;
using namespace wd::test;

namespace {

const QString kScorePage = QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp");
const QString kRegister = QStringLiteral("http://www.xinglan.example/asp/register/4-01.asp");

void Click(Label* link) { QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2)); }

// Shown as the tally's stop button shows it, without waiting.
FrmSaveMoney& Open(Screens& screens, Module1& m, int clears, int stake, const QString& provider, int providerScore,
                   const QString& player = QStringLiteral("glintora"))
{
    m.ClearCount = static_cast<std::int16_t>(clears);
    m.StakeScore = stake;
    m.ProviderName = provider;
    m.ProviderScore = providerScore;
    m.PlayerId = player;
    screens.Register<FrmSaveMoney>();
    screens.Show(FrmSaveMoney::kId);
    return screens.Get<FrmSaveMoney>();
}

class SaveMoney : public ::testing::Test {
protected:
    void Open(int clears, int stake, const QString& provider, int providerScore)
    {
        ::Open(rig.screens, rig.session, clears, stake, provider, providerScore);
    }
    FrmSaveMoney& save() { return rig.screens.Get<FrmSaveMoney>(); }
    QString Upload()
    {
        Click(save().label("Label1"));
        return rig.urls.opened.value(rig.urls.opened.size() - 1);
    }

    ScreenRig rig;
};

} // namespace

TEST_F(SaveMoney, UploadsEncodedFiguresOnceThenTheBankedRunsAlone)
{
    ::Open(rig.screens, rig.session, 2, 30000, QStringLiteral("星澜"), 7000, QStringLiteral("叶 子+1"));
    save().edit("TxtPassword")->setText(QStringLiteral("a&b=c#d%"));
    const QString address = Upload();
    EXPECT_TRUE(address.startsWith(kScorePage + QStringLiteral("?userid=")));
    EXPECT_TRUE(address.contains(QStringLiteral("&passwd=a%26b%3Dc%23d%25&")));
    QStringList items;
    for (const auto& [key, value] : QUrlQuery(QUrl(address, QUrl::StrictMode)).queryItems(QUrl::FullyDecoded))
        items << key + u'=' + value;
    EXPECT_EQ(items, (QStringList{"userid=叶 子+1", "passwd=a&b=c#d%", "playercash=230000", "provider=星澜",
                                  "providercash=7000"}));
    EXPECT_EQ(rig.session.PlayerPassword, QStringLiteral("a&b=c#d%"));
    EXPECT_EQ(save().label("LblTotal")->Caption(), QStringLiteral("你总共获得分数\u3000230000"));

    // Sent once: later uploads carry the banked runs alone.
    for (int again = 0; again < 2; ++again)
        EXPECT_TRUE(Upload().endsWith(QStringLiteral("&playercash=200000&provider=%E6%98%9F%E6%BE%9C&providercash=0")));
    EXPECT_EQ(rig.urls.opened.size(), 3);
    EXPECT_EQ(rig.session.ClearCount, 2);
    EXPECT_TRUE(rig.messages.notices.empty());
}

TEST_F(SaveMoney, AnUploadNoBrowserTookKeepsItsFiguresAndRegistrationSpendsNothing)
{
    Open(1, 20000, QStringLiteral("Kessa"), 5000);
    Click(save().label("Label4"));
    EXPECT_EQ(rig.urls.opened, QStringList{kRegister});
    EXPECT_EQ(save().label("Label4")->Caption(), QStringLiteral("新用户注册"));

    rig.urls.answer = false;
    const QString address = Upload();
    EXPECT_TRUE(address.contains(QStringLiteral("playercash=120000")));
    ASSERT_EQ(rig.messages.notices.size(), 1u);
    EXPECT_EQ(rig.messages.notices[0], PageNotOpenedText(address));
    EXPECT_EQ(rig.screens.State(FrmSaveMoney::kId), ScreenState::Shown);
    EXPECT_EQ(rig.session.StakeScore, 20000);
    EXPECT_EQ(rig.session.ProviderScore, 5000);
    rig.urls.answer = true;
    EXPECT_EQ(Upload(), address);
    EXPECT_EQ(rig.session.StakeScore, 0);
}

TEST_F(SaveMoney, CancelInEitherConfirmationOrTheCloseBoxLeavesEverythingAsItWas)
{
    Open(1, 20000, QStringLiteral("Kessa"), 5000);
    for (int i = 0; i < 3; ++i) rig.messages.Script(Answer::Cancel);
    save().button("CmdQuit")->click();
    save().button("CmdExit")->click();
    save().close();
    ASSERT_EQ(rig.messages.shown.size(), 3u);
    EXPECT_EQ(rig.messages.shown[0].id, MessageId::ConfirmSaved);
    EXPECT_EQ(rig.messages.shown[1].id, MessageId::ConfirmQuit);
    EXPECT_EQ(rig.messages.shown[2].id, MessageId::ConfirmQuit) << "the close box asks as the quit button does";
    EXPECT_EQ(rig.screens.State(FrmSaveMoney::kId), ScreenState::Shown);
    EXPECT_EQ(rig.session.StakeScore, 20000);
    EXPECT_EQ(rig.session.ProviderScore, 5000);
    EXPECT_EQ(rig.programEnds, 0);
    rig.messages.Script(Answer::Ok);
    save().close();
    EXPECT_EQ(rig.programEnds, 1);
}

// The player may change the name on the score screen; play again goes back to
// the start screen, whose own id box the next game takes.
TEST(PlayAgain, FromTheQuizScreenTheGambleAndTheTally)
{
    using S = ScreenId;
    for (const S caller : {S::Frmmain, S::FrmExplosion, S::FrmCountUp}) {
        SCOPED_TRACE(static_cast<int>(caller));
        BankFixture f;
        GameDriver d(QString::fromStdString(f.File().string()));
        d.SignIn(QStringLiteral("alice"));
        d.PressStart();
        const auto playAgain = [&] {
            EXPECT_EQ(d.Text(S::FrmSaveMoney, "TxtUserId"), QStringLiteral("alice"));
            d.On(S::FrmSaveMoney).edit("TxtUserId")->setText(QStringLiteral("bob"));
            d.Upload(QString());
            d.Confirm(S::FrmSaveMoney, "CmdQuit", Answer::Ok);
        };
        if (caller == S::Frmmain) {
            d.session.ClearCount = 1; // level 1 of a later run: nothing staked, straight to saving
            d.OnShown(S::FrmSaveMoney, playAgain);
            d.AnswerWrong();
        } else if (caller == S::FrmExplosion) {
            d.ClearLevel(1);
            d.GoOn();
            d.OnShown(S::FrmExplosion, [&] {
                d.OnShown(S::FrmSaveMoney, playAgain);
                d.Pick(0);
                d.CountTo();
                d.PressStop();
            });
            d.AnswerWrong();
        } else {
            d.ClearLevel(1);
            d.StopAtTally();
            playAgain();
        }
        ScreenRig::WaitUntil([] { return false; }, 100);
        d.ExpectAtStartAlone();
        EXPECT_EQ(d.Text(S::FrmStart, "TxtUserId"), QStringLiteral("alice"));
        EXPECT_EQ(d.session.PlayerId, QStringLiteral("bob"));
        EXPECT_EQ(d.session.StakeScore, 0);
        ASSERT_EQ(d.urls.opened.size(), 1);
        EXPECT_TRUE(d.urls.opened[0].contains(QStringLiteral("?userid=bob&")));
        d.SignIn(d.Text(S::FrmStart, "TxtUserId"));
        EXPECT_EQ(d.session.PlayerId, QStringLiteral("alice"));
    }
}

TEST(SaveMoneyLaunch, TheDefaultBrowserReceivesTheUploadAddress)
{
    FakeBrowser browser;
    ASSERT_TRUE(browser.Registered());
    Module1 session;
    ScriptedRandom random;
    QuestionBank bank(session, random, "no-such-file.bin");
    FakeMessageBoxes messages;
    DesktopUrlOpener urls;
    int failures = 0;
    urls.SetFailureHandler([&](const QString&) { ++failures; });
    Screens screens(Services{session, bank, messages, random, urls}, [] {});
    auto& save = Open(screens, session, 1, 20000, QStringLiteral("星澜"), 5000, QStringLiteral("叶子"));
    save.edit("TxtPassword")->setText(QStringLiteral("a&b=#"));
    Click(save.label("Label1"));
    QTRY_COMPARE_WITH_TIMEOUT(browser.Arrived(),
                              kScorePage + QStringLiteral("?userid=%E5%8F%B6%E5%AD%90&passwd=a%26b%3D%23&playercash=120000"
                                                          "&provider=%E6%98%9F%E6%BE%9C&providercash=5000\n"),
                              10000);
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(messages.notices.empty());
    ScreenRig::FlushDeletes();
}
