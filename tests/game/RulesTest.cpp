// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The rules as the session variables carry them; the expected figures are
// written out here, not taken from the program.
#include <gtest/gtest.h>

#include <QStringList>

#include "game/Module1.h"
#include "game/Rules.h"

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
    std::tie(m.ClearCount, m.StakeScore, m.ProviderScore, m.ProviderName) = std::tuple(3, 777, 5, QStringLiteral("old"));
    m.StartGame(QStringLiteral(" id "));
    EXPECT_EQ(QStringList({m.PlayerId, m.ProviderName}), QStringList({" id ", "old"})); // only a draw sets the provider
    EXPECT_EQ(QList<int>({m.TimeLeft, m.ClearCount, m.EasyLeft, m.StakeScore, m.ProviderScore}), QList<int>({240, 0, 3, 0, 0}));
}

// Level L grants 5 - L passes; level 5 none of its own, so it keeps what level
// 4 left. The roads check the stakes, the questions and the seconds.
TEST(Rules, EachLevelGrantsItsPassesAndTheLastKeepsThoseLeft)
{
    Module1 m;
    m.StartGame(QStringLiteral("p"));
    QList<int> passes{m.PassesLeft};
    while (passes.size() < 5) {
        m.BeginNextLevel();
        passes << m.PassesLeft;
    }
    EXPECT_EQ(passes, QList<int>({4, 3, 2, 1, 1}));
}
