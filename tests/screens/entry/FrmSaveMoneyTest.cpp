#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include "fakes/BankFixture.h"
#include "fakes/FakeBrowser.h"
#include "fakes/ScreenRig.h"
#include "game/Rules.h"
#include "platform/UrlOpener.h"
#include "screens/entry/FrmSaveMoney.h"
#include "screens/entry/FrmStart.h"
#include "screens/quiz/Frmmain.h"

using namespace wd;
using namespace wd::test;

namespace {

const QString kScorePage = QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp");

void Click(Label* link) { QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2)); }

// Ends every modal loop rather than let a test hang.
void Guard(Screens& screens, int ms = 10000)
{
    QTimer::singleShot(ms, &screens, [&screens] {
        ADD_FAILURE() << "modal loop not left in time";
        screens.EndProgram();
    });
}

// The save screen shown without waiting, as the tally's stop button shows it.
class SaveMoney : public ::testing::Test {
protected:
    void Open(int clears, int stake, const QString& provider, int providerScore, const QString& player = "glintora")
    {
        rig.session.ClearCount = static_cast<std::int16_t>(clears);
        rig.session.StakeScore = stake;
        rig.session.ProviderName = provider;
        rig.session.ProviderScore = providerScore;
        rig.session.PlayerId = player;
        rig.screens.Register<FrmSaveMoney>();
        rig.screens.Show(FrmSaveMoney::kId);
    }
    FrmSaveMoney& save() { return rig.screens.Get<FrmSaveMoney>(); }
    QString Upload()
    {
        Click(save().label("Label1"));
        return rig.urls.opened.isEmpty() ? QString() : rig.urls.opened.last();
    }

    ScreenRig rig;
};

} // namespace

TEST_F(SaveMoney, ShowsTheTotalAndTheProviderShareAndUploadsThemInOrder)
{
    Open(1, 20000, QStringLiteral("Kessa"), 5000);
    EXPECT_EQ(save().windowTitle(), QStringLiteral("问鼎五关(Kessa Version)--保存分数"));
    EXPECT_EQ(save().size(), QSize(330, 224));
    EXPECT_EQ(save().label("LblTotal")->Caption(), QStringLiteral("你总共获得分数\u3000120000"));
    EXPECT_TRUE(save().label("LblProviderScore")->isVisible());
    EXPECT_EQ(save().label("LblProviderScore")->Caption(), QStringLiteral("Kessa获得\u30005000"));
    const QString remark = save().label("Lblremark")->Caption();
    EXPECT_TRUE(remark.startsWith(QStringLiteral("辛苦啦!请输入你在星澜小站注册的用户名和密码,")));
    EXPECT_TRUE(remark.contains(QStringLiteral("祝你好运（请确认"))) << "full-width opening parenthesis";
    EXPECT_TRUE(remark.endsWith(QStringLiteral("网站的数据库)"))) << "ASCII closing parenthesis";
    EXPECT_EQ(save().edit("TxtUserId")->text(), QStringLiteral("glintora"));
    EXPECT_EQ(rig.session.StakeScore, 20000) << "showing the total folds nothing";

    save().edit("TxtPassword")->setText(QStringLiteral("secret"));
    EXPECT_EQ(Upload(), kScorePage + QStringLiteral("?userid=glintora&passwd=secret"
                                                    "&playercash=120000&provider=Kessa&providercash=5000"));
    EXPECT_EQ(rig.session.PlayerPassword, QStringLiteral("secret"));
    EXPECT_EQ(rig.session.StakeScore, 0);
    EXPECT_EQ(rig.session.ProviderScore, 0);
    EXPECT_EQ(rig.session.ClearCount, 1);
    EXPECT_EQ(save().label("LblTotal")->Caption(), QStringLiteral("你总共获得分数\u3000120000"));
    EXPECT_EQ(save().label("Label1")->Caption(), QStringLiteral("保存我的分数"));
    EXPECT_TRUE(rig.messages.notices.empty());
}

TEST_F(SaveMoney, NoProviderShareHidesItsLineAndSendsZero)
{
    Open(1, 0, QStringLiteral("Kessa"), 0);
    EXPECT_FALSE(save().label("LblProviderScore")->isVisible());
    EXPECT_EQ(save().label("LblProviderScore")->Caption(), QStringLiteral("Kessa获得\u30000"));
    EXPECT_TRUE(Upload().endsWith(QStringLiteral("&provider=Kessa&providercash=0")));
}

TEST_F(SaveMoney, EmptyNameAndPasswordAreSentEmpty)
{
    Open(1, 0, QString(), 0, QString());
    EXPECT_EQ(Upload(), kScorePage + QStringLiteral("?userid=&passwd=&playercash=100000&provider=&providercash=0"));
}

TEST_F(SaveMoney, QuerySignsAndChineseNamesArriveEncodedAndIntact)
{
    Open(0, 15000, QStringLiteral("星澜"), 5000, QStringLiteral("叶 子+1"));
    save().edit("TxtPassword")->setText(QStringLiteral("a&b=c#d%"));
    const QString address = Upload();
    EXPECT_TRUE(address.contains(QStringLiteral("&passwd=a%26b%3Dc%23d%25&")));
    EXPECT_TRUE(address.contains(QStringLiteral("&provider=%E6%98%9F%E6%BE%9C&")));
    const QUrlQuery query(QUrl(address, QUrl::StrictMode));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("passwd"), QUrl::FullyDecoded), QStringLiteral("a&b=c#d%"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("userid"), QUrl::FullyDecoded), QStringLiteral("叶 子+1"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("provider"), QUrl::FullyDecoded), QStringLiteral("星澜"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("playercash")), QStringLiteral("15000"));
    EXPECT_EQ(query.queryItems().size(), 5);
}

TEST_F(SaveMoney, LaterUploadsSendTheBankedRunsAlone)
{
    Open(2, 30000, QStringLiteral("Kessa"), 7000);
    EXPECT_TRUE(Upload().endsWith(QStringLiteral("&playercash=230000&provider=Kessa&providercash=7000")));
    EXPECT_TRUE(Upload().endsWith(QStringLiteral("&playercash=200000&provider=Kessa&providercash=0")));
    EXPECT_TRUE(Upload().endsWith(QStringLiteral("&playercash=200000&provider=Kessa&providercash=0")));
    EXPECT_EQ(rig.urls.opened.size(), 3);
}

TEST_F(SaveMoney, RegistrationLinkOpensTheRegistrationPageAndChangesNothing)
{
    Open(1, 20000, QStringLiteral("Kessa"), 5000);
    Click(save().label("Label4"));
    EXPECT_EQ(rig.urls.opened, QStringList{QStringLiteral("http://www.xinglan.example/asp/register/4-01.asp")});
    EXPECT_EQ(save().label("Label4")->Caption(), QStringLiteral("新用户注册"));
    EXPECT_EQ(rig.session.StakeScore, 20000);
    EXPECT_EQ(rig.session.ProviderScore, 5000);
}

TEST_F(SaveMoney, PageNoBrowserOpenedIsToldWithItsAddressAndTheScreenGoesOn)
{
    Open(1, 20000, QStringLiteral("Kessa"), 5000);
    rig.urls.answer = false;
    const QString address = Upload();
    ASSERT_EQ(rig.messages.notices.size(), 1u);
    EXPECT_EQ(rig.messages.notices[0], PageNotOpenedText(address));
    EXPECT_TRUE(rig.messages.notices[0].contains(QStringLiteral("playercash=120000")));
    EXPECT_EQ(rig.screens.State(FrmSaveMoney::kId), ScreenState::Shown);

    // Nothing reached the site, so the figures are not spent: the next try sends them again.
    rig.urls.answer = true;
    EXPECT_EQ(Upload(), address);
    EXPECT_EQ(rig.session.StakeScore, 0);
    rig.messages.Script(Answer::Ok);
    save().button("CmdExit")->click();
    EXPECT_EQ(rig.programEnds, 1);
}

TEST_F(SaveMoney, PasswordIsMaskedShortAndFreeOfInputMethods)
{
    Open(1, 0, QString(), 0, QString());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&save()));
    TextBox* password = save().edit("TxtPassword");
    EXPECT_TRUE(password->Masked());
    EXPECT_FALSE(password->testAttribute(Qt::WA_InputMethodEnabled));
    QTest::keyClicks(password, QStringLiteral("0123456789abc"));
    EXPECT_EQ(password->text(), QStringLiteral("0123456789"));
    EXPECT_EQ(password->displayText(), QString(10, QLatin1Char('*')));

    TextBox* user = save().edit("TxtUserId");
    EXPECT_EQ(save().focusWidget(), user);
    EXPECT_TRUE(user->testAttribute(Qt::WA_InputMethodEnabled));
    QTest::keyClicks(user, QString(25, QLatin1Char('k')));
    EXPECT_EQ(user->text().size(), 20);
}

TEST_F(SaveMoney, LinksTurnRedUnderThePointerAndBackOverTheWindow)
{
    Open(1, 0, QString(), 0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&save()));
    Label* upload = save().label("Label1");
    Label* registration = save().label("Label4");
    QTest::mouseMove(upload, QPoint(3, 3));
    QTest::mouseMove(registration, QPoint(3, 3));
    for (Label* link : {upload, registration}) {
        EXPECT_EQ(link->ForeColor(), QColor(0xFF, 0, 0));
        EXPECT_TRUE(link->Bold());
    }
    QTest::mouseMove(&save(), QPoint(5, 215));
    for (Label* link : {upload, registration}) {
        EXPECT_EQ(link->ForeColor(), QColor(0, 0, 0xFF));
        EXPECT_FALSE(link->Bold());
    }
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
    EXPECT_EQ(rig.messages.shown[0].text, QStringLiteral("请确定你是否已经保存你所获得的分数"));
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

// ---- hand-over to the start screen ------------------------------------------

namespace {

// Stands in for the explosion game's way out: it unloads itself, then shows
// the save screen modally from the same handler.
class ExplosionStandIn final : public Screen {
public:
    static constexpr ScreenId kId = ScreenId::FrmExplosion;
    explicit ExplosionStandIn(Screens& screens)
        : Screen(screens, kId, {.caption = QStringLiteral("stand-in"), .width = 1500, .height = 1500, .rows = {}})
    {
    }
    void Finish()
    {
        screens().Unload(kId);
        screens().ShowModal(ScreenId::FrmSaveMoney);
    }
};

class PlayAgain : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.screens.Register<FrmStart>();
        rig.screens.Register<Frmmain>();
        rig.screens.Register<FrmSaveMoney>();
        rig.screens.Register<ExplosionStandIn>();
        rig.screens.Show(FrmStart::kId);
        start().edit("TxtUserId")->setText(QStringLiteral("alice"));
        start().button("CmdStart")->click();
        ASSERT_EQ(rig.screens.State(Frmmain::kId), ScreenState::Shown);
        quiz().button("CmdStart")->click();
    }
    FrmStart& start() { return rig.screens.Get<FrmStart>(); }
    Frmmain& quiz() { return rig.screens.Get<Frmmain>(); }

    // Once the save screen is up: a new user name, an upload, play again.
    void OnSaveScreen()
    {
        QTimer::singleShot(200, &rig.screens, [this] {
            FrmSaveMoney* save = rig.screens.IfLoaded<FrmSaveMoney>();
            if (!save) return;
            EXPECT_EQ(save->edit("TxtUserId")->text(), QStringLiteral("alice"));
            save->edit("TxtUserId")->setText(QStringLiteral("bob"));
            Click(save->label("Label1"));
            rig.messages.Script(Answer::Ok);
            save->button("CmdQuit")->click();
        });
        Guard(rig.screens);
    }
    void Answer(const QString& text)
    {
        quiz().edit("Txtanswer")->setText(text);
        quiz().button("CmdOK")->click();
    }
    void ExpectBackAtTheStart()
    {
        EXPECT_EQ(rig.screens.State(FrmSaveMoney::kId), ScreenState::NotLoaded);
        EXPECT_EQ(rig.screens.State(Frmmain::kId), ScreenState::NotLoaded);
        EXPECT_EQ(rig.screens.State(FrmStart::kId), ScreenState::Shown);
        EXPECT_EQ(start().edit("TxtUserId")->text(), QStringLiteral("alice"));
        EXPECT_EQ(rig.session.PlayerId, QStringLiteral("bob"));
        EXPECT_EQ(rig.session.StakeScore, 0);
        ASSERT_EQ(rig.urls.opened.size(), 1);
        EXPECT_TRUE(rig.urls.opened[0].contains(QStringLiteral("?userid=bob&")));
        ScreenRig::WaitUntil([] { return false; }, 100);
        EXPECT_EQ(rig.programEnds, 0);

        start().button("CmdStart")->click(); // the next game takes the id box again
        EXPECT_EQ(rig.session.PlayerId, QStringLiteral("alice"));
    }

    BankFixture questions;
    ScreenRig rig{questions.File()};
};

} // namespace

TEST_F(PlayAgain, FromTheQuizScreenWhenTheRunHadNoStake)
{
    rig.session.ClearCount = 1; // level 1 of the second run: nothing staked, 100000 banked
    OnSaveScreen();
    Answer(QStringLiteral("surely wrong"));
    ASSERT_EQ(rig.messages.shown.size(), 2u);
    EXPECT_EQ(rig.messages.shown[0].id, MessageId::WrongAnswer);
    EXPECT_TRUE(rig.urls.opened.value(0).contains(QStringLiteral("&playercash=100000&")));
    ExpectBackAtTheStart();
}

TEST_F(PlayAgain, FromTheExplosionGame)
{
    rig.session.ClearCount = 1;
    rig.session.Level = 3; // a stake to lose: the gamble comes first
    QTimer::singleShot(20, &rig.screens, [this] {
        if (auto* game = rig.screens.IfLoaded<ExplosionStandIn>()) game->Finish();
    });
    OnSaveScreen();
    Answer(QStringLiteral("surely wrong"));
    const int cash = 100000 + StakeForFailedLevel(3);
    ASSERT_GT(cash, 100000);
    EXPECT_TRUE(rig.urls.opened.value(0).contains(QStringLiteral("&playercash=%1&").arg(cash)))
        << "the stake went through the gamble";
    ExpectBackAtTheStart();
}

TEST_F(PlayAgain, FromTheTallyShownWithoutWaiting)
{
    rig.session.ClearCount = 1;
    rig.screens.Hide(Frmmain::kId); // the tally stands in front, the quiz screen hidden
    rig.screens.Show(FrmSaveMoney::kId);
    rig.screens.Get<FrmSaveMoney>().edit("TxtUserId")->setText(QStringLiteral("bob"));
    Click(rig.screens.Get<FrmSaveMoney>().label("Label1"));
    rig.messages.Script(Answer::Ok);
    rig.screens.Get<FrmSaveMoney>().button("CmdQuit")->click();
    ExpectBackAtTheStart();
}

// ---- the real launch path -----------------------------------------------------

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
    screens.Register<FrmSaveMoney>();

    session.ClearCount = 1;
    session.StakeScore = 20000;
    session.ProviderName = QStringLiteral("星澜");
    session.ProviderScore = 5000;
    session.PlayerId = QStringLiteral("叶子");
    screens.Show(FrmSaveMoney::kId);
    auto& save = screens.Get<FrmSaveMoney>();
    save.edit("TxtPassword")->setText(QStringLiteral("a&b=#"));
    Click(save.label("Label1"));

    const QString expected = kScorePage + QStringLiteral("?userid=%E5%8F%B6%E5%AD%90&passwd=a%26b%3D%23"
                                                         "&playercash=120000&provider=%E6%98%9F%E6%BE%9C"
                                                         "&providercash=5000\n");
    QTRY_COMPARE_WITH_TIMEOUT(browser.Arrived(), expected, 10000);
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(messages.notices.empty());
    ScreenRig::FlushDeletes();
}
