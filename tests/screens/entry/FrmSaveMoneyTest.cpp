// The score-saving screen: the upload address and what it spends, the links,
// the two confirmations and play again from each screen that opens it. The
// upload through a real browser is in the desktop tests, the e2e roads show
// its figures.
#include <gtest/gtest.h>

#include <QTest>
#include <QUrlQuery>

#include "fakes/BankFixture.h"
#include "fakes/GameDriver.h"
#include "fakes/ScreenRig.h"
#include "screens/entry/FrmStart.h"
#include "screens/SitePages.h"
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
    const ControlSet& c() { return save().controls(); }
    QString Upload()
    {
        Click(c().Get<Label>("Label1"));
        return rig.urls.opened.value(rig.urls.opened.size() - 1);
    }

    ScreenRig rig;
};

} // namespace

TEST_F(SaveMoney, UploadsEncodedFiguresOnceThenTheBankedRunsAlone)
{
    ::Open(rig.screens, rig.session, 2, 30000, QStringLiteral("星澜"), 7000, QStringLiteral("叶 子+1"));
    c().Get<TextBox>("TxtPassword")->setText(QStringLiteral("a&b=c#d%"));
    const QString address = Upload();
    EXPECT_TRUE(address.startsWith(kScorePage + QStringLiteral("?userid=")));
    EXPECT_TRUE(address.contains(QStringLiteral("&passwd=a%26b%3Dc%23d%25&")));
    QStringList items;
    for (const auto& [key, value] : QUrlQuery(QUrl(address, QUrl::StrictMode)).queryItems(QUrl::FullyDecoded))
        items << key + u'=' + value;
    EXPECT_EQ(items, (QStringList{"userid=叶 子+1", "passwd=a&b=c#d%", "playercash=230000", "provider=星澜",
                                  "providercash=7000"}));
    EXPECT_EQ(rig.session.PlayerPassword, QStringLiteral("a&b=c#d%"));
    EXPECT_EQ(c().Get<Label>("LblTotal")->Caption(), QStringLiteral("你总共获得分数\u3000230000"));

    // Sent once: later uploads carry the banked runs alone.
    for (int again = 0; again < 2; ++again)
        EXPECT_TRUE(Upload().endsWith(QStringLiteral("&playercash=200000&provider=%E6%98%9F%E6%BE%9C&providercash=0")));
    EXPECT_EQ(rig.urls.opened.size(), 3);
    EXPECT_EQ(rig.session.ClearCount, 2);
    EXPECT_TRUE(rig.messages.notices.empty());
}

// The opener answers late here, as the desktop's does.
TEST_F(SaveMoney, OnlyALaunchKnownToSucceedSpendsTheFiguresAndNoFailureIsToldOutOfPlace)
{
    Open(1, 20000, QStringLiteral("Kessa"), 5000);
    c().Get<TextBox>("TxtPassword")->setText(QStringLiteral("s3cret"));
    rig.urls.late = true;
    const QString address = Upload();
    Upload(); // undecided: not sent twice
    Click(c().Get<Label>("Label4"));
    EXPECT_EQ(rig.urls.opened, (QStringList{address, kRegister}));
    rig.urls.Decide(false);
    rig.urls.Decide(false); // the registration page: told too, nothing to keep
    ASSERT_EQ(rig.messages.notices.size(), 2u);
    EXPECT_EQ(rig.messages.notices[0], PageNotOpenedText(address));
    EXPECT_TRUE(rig.messages.notices[0].contains(QStringLiteral("&passwd=******&playercash=120000&")));
    EXPECT_FALSE(rig.messages.notices[0].contains(QStringLiteral("s3cret")));
    EXPECT_EQ(rig.messages.copyable, (std::vector<QString>{address, kRegister}));
    EXPECT_EQ(rig.session.StakeScore, 20000);
    EXPECT_EQ(rig.session.ProviderScore, 5000);

    // A failure while a confirmation is open is told once it has closed, and
    // "yes, I have saved" no longer holds.
    EXPECT_EQ(Upload(), address);
    rig.messages.whileShown = [this] {
        rig.urls.Decide(false);
        EXPECT_EQ(rig.messages.notices.size(), 2u);
    };
    c().Get<Button>("CmdQuit")->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.messages.notices.size(), 3u);
    EXPECT_EQ(rig.screens.State(FrmSaveMoney::kId), ScreenState::Shown);
    // Hidden when it fails: nothing is shown, the figures stay.
    Upload();
    rig.screens.Hide(FrmSaveMoney::kId);
    rig.urls.Decide(false);
    rig.screens.Show(FrmSaveMoney::kId);
    EXPECT_EQ(rig.messages.notices.size(), 3u);
    EXPECT_EQ(rig.session.StakeScore, 20000);

    // A quit confirmed while undecided waits for the launch, and for a notice
    // open when it succeeds; the success spends the figures.
    Click(c().Get<Label>("Label4"));
    EXPECT_EQ(Upload(), address);
    c().Get<Button>("CmdExit")->click();
    rig.messages.whileShown = [this] {
        rig.urls.Decide(true);
        EXPECT_EQ(rig.programEnds, 0);
    };
    rig.urls.Decide(false); // the registration page's notice
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.programEnds, 1);
    EXPECT_EQ(rig.session.StakeScore, 0);
    EXPECT_EQ(rig.session.ProviderScore, 0);
    EXPECT_EQ(rig.urls.opened.size(), 6);
}

TEST_F(SaveMoney, CancelInEitherConfirmationOrTheCloseBoxLeavesEverythingAsItWas)
{
    Open(1, 20000, QStringLiteral("Kessa"), 5000);
    for (int i = 0; i < 3; ++i) rig.messages.Script(Answer::Cancel);
    c().Get<Button>("CmdQuit")->click();
    c().Get<Button>("CmdExit")->click();
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
            d.Control<TextBox>(S::FrmSaveMoney, "TxtUserId")->setText(QStringLiteral("bob"));
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
