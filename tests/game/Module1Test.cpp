#include <gtest/gtest.h>

#include <limits>

#include <QStringList>

#include "game/Module1.h"

using namespace wd;

TEST(Module1, AWholeRunStartsFreshClimbsTheLadderAndBanksTheRun)
{
    Module1 m;
    m.ClearCount = 3;
    m.StakeScore = 777;
    m.ProviderScore = 5;
    m.ProviderName = QStringLiteral("old");
    m.StartGame(QStringLiteral(" id "));
    EXPECT_EQ(m.PlayerId, QStringLiteral(" id "));
    EXPECT_EQ(m.TimeLeft, 240);
    EXPECT_EQ(m.ClearCount, 0);
    EXPECT_EQ(m.EasyLeft, 3);
    EXPECT_EQ(m.ProviderScore, 0);
    EXPECT_EQ(m.ProviderName, QStringLiteral("old")); // not part of a new game
    EXPECT_TRUE(m.HoldsNoScore());

    m.QuizLoaded();
    const std::int32_t stakes[] = {5000, 10000, 20000, 40000, 100000};
    const std::int16_t passes[] = {4, 3, 2, 1, 1}; // level 5 keeps the passes level 4 left
    for (int level = 1; level <= 5; ++level) {
        EXPECT_EQ(m.Level, level);
        EXPECT_EQ(m.QuestionsLeft, level);
        EXPECT_EQ(m.PassesLeft, passes[level - 1]) << level;
        while (!m.RightAnswer()) {}
        m.KeepTimeLeft(static_cast<std::int16_t>(240 - 10 * level));
        EXPECT_EQ(m.TimeLeft, 240 - 10 * level);
        EXPECT_EQ(m.StakeScore, stakes[level - 1]);
        EXPECT_FALSE(m.HoldsNoScore());
        if (level < 5) {
            EXPECT_FALSE(m.BeginNextLevel());
        }
    }
    EXPECT_EQ(m.ClearCount, 1);
    EXPECT_EQ(m.TotalScore(), 200000); // stopping at this tally keeps both
    m.UseEasy();
    EXPECT_TRUE(m.BeginNextLevel());
    EXPECT_EQ(m.Level, 1);
    EXPECT_EQ(m.StakeScore, 0);
    EXPECT_EQ(m.EasyLeft, 3);
    EXPECT_EQ(m.PassesLeft, 4);
    EXPECT_EQ(m.TotalScore(), 100000);
}

TEST(Module1, AWrongAnswerNamesTheProviderAndStakesWhatTheLastClearedLevelSet)
{
    const std::int32_t expected[] = {0, 5000, 10000, 20000, 40000};
    for (int level = 1; level <= 5; ++level) {
        Module1 m;
        m.StartGame(QStringLiteral("p"));
        m.ClearCount = 1;
        m.Level = static_cast<std::int16_t>(level);
        m.StakeScore = 12345;
        m.WrongAnswer(QStringLiteral("fan%1").arg(level));
        EXPECT_EQ(m.ProviderName, QStringLiteral("fan%1").arg(level));
        EXPECT_EQ(m.StakeScore, expected[level - 1]) << "level " << level;
        EXPECT_EQ(m.BankedScore(), 100000) << "the banked score is never staked";
    }
}

TEST(Module1, TheGambleSplitsTheStakeAndTheScoreScreenSpendsItButNotTheBankedRuns)
{
    Module1 m;
    m.StartGame(QStringLiteral("p"));
    m.ClearCount = 1;
    m.StakeScore = 20000;
    m.SplitStake(15000, 5000);
    EXPECT_EQ(m.TotalScore(), 115000);
    EXPECT_EQ(m.ProviderScore, 5000);
    m.UploadAs(QStringLiteral("bob"), QStringLiteral("pw"));
    EXPECT_EQ(QStringList({m.PlayerId, m.PlayerPassword}), QStringList({"bob", "pw"}));
    m.ScoreUploaded();
    EXPECT_EQ(m.TotalScore(), 100000);
    EXPECT_EQ(m.ProviderScore, 0);
    m.SplitStake(3000, 0);
    m.PlayAgain();
    EXPECT_EQ(m.TotalScore(), 100000);
}

TEST(Module1, ScoresBeyondThirtyTwoBitsAreHeldAtTheLargestValue)
{
    Module1 m;
    m.ClearCount = 21473;
    m.StakeScore = 100000;
    EXPECT_EQ(m.TotalScore(), 2147400000);
    m.ClearCount = 21474;
    EXPECT_EQ(m.BankedScore(), 2147400000);
    EXPECT_EQ(m.TotalScore(), std::numeric_limits<std::int32_t>::max());
    m.ClearCount = std::numeric_limits<std::int16_t>::max();
    EXPECT_EQ(m.BankedScore(), std::numeric_limits<std::int32_t>::max());

    // Clearing another run at the top of the counter neither wraps nor crashes.
    m.Level = 5;
    m.QuestionsLeft = 1;
    EXPECT_TRUE(m.RightAnswer());
    EXPECT_EQ(m.ClearCount, std::numeric_limits<std::int16_t>::max());
    EXPECT_EQ(m.TotalScore(), std::numeric_limits<std::int32_t>::max());
}
