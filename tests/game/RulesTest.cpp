#include <gtest/gtest.h>

#include "game/Rules.h"

using namespace wd;

TEST(AnswerComparison, SpacesAroundEitherSideAreIgnored)
{
    EXPECT_TRUE(AnswerMatches(QStringLiteral("初光"), QStringLiteral("  初光 ")));
    EXPECT_TRUE(AnswerMatches(QStringLiteral(" 初光"), QStringLiteral("初光")));
    // Ideographic spaces, as Chinese input methods type them.
    EXPECT_TRUE(AnswerMatches(QStringLiteral("初光"), QStringLiteral("\u3000初光\u3000 ")));
}

TEST(AnswerComparison, EverythingElseCountsAsTyped)
{
    EXPECT_FALSE(AnswerMatches(QStringLiteral("mp3"), QStringLiteral("MP3")));
    EXPECT_FALSE(AnswerMatches(QStringLiteral("mp3"), QStringLiteral("ｍp3"))); // full-width m
    EXPECT_FALSE(AnswerMatches(QStringLiteral("a b"), QStringLiteral("a  b")));
    EXPECT_FALSE(AnswerMatches(QStringLiteral("ab"), QStringLiteral("\tab")));
    EXPECT_FALSE(AnswerMatches(QStringLiteral("初光"), QStringLiteral("初")));
}

TEST(AnswerComparison, AnEmptyBoxIsRightOnlyForABlankAnswer)
{
    EXPECT_FALSE(AnswerMatches(QStringLiteral("1"), QString()));
    EXPECT_TRUE(AnswerMatches(QStringLiteral("   "), QString()));
    EXPECT_TRUE(AnswerMatches(QString(), QStringLiteral("\u3000")));
}

TEST(EasyMarks, FillFromTheLeftAsChancesAreUsed)
{
    using A = std::array<QString, 3>;
    const QString x = QStringLiteral("X"), r = QStringLiteral("→");
    EXPECT_EQ(EasyMarks(3), (A{r, r, r}));
    EXPECT_EQ(EasyMarks(2), (A{x, r, r}));
    EXPECT_EQ(EasyMarks(1), (A{x, x, r}));
    EXPECT_EQ(EasyMarks(0), (A{x, x, x}));
}

TEST(StakeLadder, LevelsOutsideOneToFiveStakeNothing)
{
    EXPECT_EQ(StakeForClearedLevel(0), 0);
    EXPECT_EQ(StakeForClearedLevel(6), 0);
    EXPECT_EQ(StakeForFailedLevel(-1), 0);
}
