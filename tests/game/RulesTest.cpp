// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The rules as the session variables and the score address carry them; the
// expected figures are written out here, not taken from the program.
#include <gtest/gtest.h>

#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

#include "game/Module1.h"
#include "game/Rules.h"
#include "game/ScoreAddress.h"
#include "game/Site.h"

using namespace wd;

TEST(Rules, AnswersMatchButForSpacesAroundThem)
{
    const struct { const char* answer; const char* typed; bool right; } cases[] = {
        {"初光", "  初光 ", true}, {" 初光", "初光", true}, {"初光", "\u3000初光\u3000 ", true}, {"", "\u3000", true},
        {"1", "", false},          {"mp3", "MP3", false}, {"mp3", "ｍp3", false},            {"a b", "a  b", false},
        {"ab", "\tab", false},     {"初光", "初", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnswerMatches(QString::fromUtf8(c.answer), QString::fromUtf8(c.typed)), c.right)
            << c.answer << " / " << c.typed;
}

TEST(Rules, AGameStartsFreshButKeepsTheProviderOfTheLastQuestion)
{
    Module1 m;
    m.ClearCount = 3;
    m.StakeScore = 777;
    m.ProviderScore = 5;
    m.ProviderName = QStringLiteral("old");
    m.StartGame(QStringLiteral(" id "));
    EXPECT_EQ(QStringList({m.PlayerId, m.ProviderName}), QStringList({" id ", "old"})); // only a draw sets the provider
    EXPECT_EQ(QList<int>({m.TimeLeft, m.ClearCount, m.EasyLeft, m.StakeScore, m.ProviderScore}), QList<int>({240, 0, 3, 0, 0}));
}

// Each level asks its questions and grants its passes; clearing it sets the
// stake from the ladder and keeps the seconds left.
TEST(Rules, ARunClimbsTheLadderLevelByLevel)
{
    Module1 m;
    m.StartGame(QStringLiteral("p"));
    m.QuizLoaded();
    const std::int32_t stakes[] = {5000, 10000, 20000, 40000, 100000};
    const std::int16_t passes[] = {4, 3, 2, 1, 1}; // level 5 keeps the passes level 4 left
    for (int level = 1; level <= 5; ++level) {
        EXPECT_EQ(QList<int>({m.Level, m.QuestionsLeft, m.PassesLeft}), QList<int>({level, level, passes[level - 1]}));
        while (!m.RightAnswer()) {}
        m.KeepTimeLeft(static_cast<std::int16_t>(240 - 10 * level));
        EXPECT_EQ(QList<int>({m.TimeLeft, m.StakeScore}), QList<int>({240 - 10 * level, stakes[level - 1]}));
        if (level < 5) {
            EXPECT_FALSE(m.BeginNextLevel());
        }
    }
}

TEST(Rules, TheScoreAddressCarriesEveryFigureInItsPlaceSoThatTheSiteReadsBackWhatWasTyped)
{
    EXPECT_EQ(ScoreUploadAddress({QStringLiteral("glintora"), QStringLiteral("pw"), 120000, QStringLiteral("Kessa"), 5000}),
              QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp?userid=glintora&passwd=pw"
                             "&playercash=120000&provider=Kessa&providercash=5000"));
    EXPECT_TRUE(ScoreUploadAddress({QString(), QString(), -5, QString(), 0})
                    .endsWith(QStringLiteral("?userid=&passwd=&playercash=-5&provider=&providercash=0")));
    EXPECT_EQ(site::PageAddress(site::kRegisterPath), QStringLiteral("http://www.xinglan.example/asp/register/4-01.asp"));

    const QString password = QStringLiteral("a&b=c#d%e+f g"), provider = QStringLiteral("叶子~_.-");
    const QString a = ScoreUploadAddress({QStringLiteral("用户 1"), password, 1, provider, 2});
    EXPECT_TRUE(a.contains(QStringLiteral("passwd=a%26b%3Dc%23d%25e%2Bf%20g&")));
    EXPECT_TRUE(a.contains(QStringLiteral("provider=%E5%8F%B6%E5%AD%90~_.-&"))) << "UTF-8 bytes, capital hex";
    const QUrlQuery q(QUrl(a, QUrl::StrictMode));
    EXPECT_EQ(QStringList({q.queryItemValue("userid", QUrl::FullyDecoded), q.queryItemValue("passwd", QUrl::FullyDecoded)}),
              QStringList({"用户 1", password}));
    EXPECT_EQ(q.queryItems().size(), 5);
}
