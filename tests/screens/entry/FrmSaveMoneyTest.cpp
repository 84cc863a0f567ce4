// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The score-saving screen over the hidden start screen, as the tally's stop
// button leaves them, the other screens real and every side effect recorded.
// The desktop tests upload through a real browser: a failed launch, a second
// press while one is on its way, a quit that waits for it.
#include <gtest/gtest.h>

#include <QTest>

#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "ui/Screen.h"

using namespace wd;
using namespace wd::test;
using S = ScreenId;

namespace {

struct SaveMoney : ScreenRig, ::testing::Test {
    // Over the start screen, hidden with its own id box "alice".
    void Open(std::int16_t clears, int stake, const QString& provider = {}, int providerScore = 0)
    {
        RegisterAllScreens(screens);
        screens.Show(S::FrmStart);
        screens.Load(S::FrmStart).controls().Get<TextBox>("TxtUserId")->setText(QStringLiteral("alice"));
        screens.Hide(S::FrmStart);
        std::tie(session.ClearCount, session.StakeScore, session.ProviderName, session.ProviderScore) =
            std::tuple(clears, stake, provider, providerScore);
        screens.Show(S::FrmSaveMoney);
    }
    template <class T> T* Get(const char* name) { return screens.Load(S::FrmSaveMoney).controls().Get<T>(name); }
    void Click(const char* link) { QTest::mouseClick(Get<Label>(link), Qt::LeftButton, {}, QPoint(2, 2)); }
};

} // namespace

TEST_F(SaveMoney, ThePasswordHoldsTenCharactersShownAsStars)
{
    Open(1, 0);
    QTest::keyClicks(Get<TextBox>("TxtPassword"), QStringLiteral("0123456789ab"));
    EXPECT_EQ(QStringList({Get<TextBox>("TxtPassword")->text(), Get<TextBox>("TxtPassword")->displayText()}),
              QStringList({"0123456789", QString(10, u'*')}));
}

// The name typed holds until the next game.
TEST_F(SaveMoney, UploadsTheTypedNameAndFiguresOnceThenTheBankedRunsAlone)
{
    Open(2, 30000, QStringLiteral("星澜"), 7000);
    Get<TextBox>("TxtUserId")->setText(QStringLiteral("叶 子+1"));
    Get<TextBox>("TxtPassword")->setText(QStringLiteral("a&b=c#d%"));
    for (int upload = 0; upload < 3; ++upload) Click("Label1");
    const auto sent = [](const char* cash, const char* providerCash) {
        return QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp?userid=%E5%8F%B6%20%E5%AD%90%2B1&passwd="
                              "a%26b%3Dc%23d%25&playercash=") + cash + "&provider=%E6%98%9F%E6%BE%9C&providercash=" + providerCash;
    };
    EXPECT_EQ(urls.opened, (QStringList{sent("230000", "7000"), sent("200000", "0"), sent("200000", "0")}));
    EXPECT_EQ(session.PlayerId, QStringLiteral("叶 子+1"));
}

TEST_F(SaveMoney, ItsRegisterLinkOpensTheSitesRegistrationPage)
{
    Open(1, 0);
    Click("Label4");
    EXPECT_EQ(urls.opened, QStringList{"http://www.xinglan.example/asp/register/4-01.asp"});
}

// The opener answers late here: a failure that comes while "yes, I have
// saved" is asked is told once the box has closed, and the screen stays
// although the player said yes.
TEST_F(SaveMoney, AFailedUploadIsToldOnceTheBoxOverTheScreenHasClosed)
{
    Open(1, 20000, QStringLiteral("Kessa"), 0);
    urls.late = true;
    Click("Label1");
    messages.whileShown = [this] {
        urls.Decide(false);
        EXPECT_TRUE(messages.notices.empty());
    };
    Get<Button>("CmdQuit")->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.copyable, urls.opened);
    EXPECT_EQ(QList<int>({int(screens.State(S::FrmSaveMoney)), session.StakeScore}), QList<int>({int(ScreenState::Shown), 20000}));
}

TEST_F(SaveMoney, PlayingAgainSpendsTheStakeAndShowsTheStartScreenAsLeft)
{
    Open(1, 20000, QStringLiteral("Kessa"), 0);
    Get<Button>("CmdQuit")->click();
    EXPECT_EQ(screens.Load(S::FrmStart).controls().Get<TextBox>("TxtUserId")->text(), QStringLiteral("alice"));
    EXPECT_EQ(session.StakeScore, 0);
}
