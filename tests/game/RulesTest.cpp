#include <gtest/gtest.h>

#include "game/Rules.h"

using namespace wd;

TEST(AnswerComparison, OnlySpacesAroundEitherSideAreIgnored)
{
    const struct {
        const char* answer;
        const char* typed;
        bool right;
    } cases[] = {
        {"初光", "  初光 ", true},
        {" 初光", "初光", true},
        {"初光", "\u3000初光\u3000 ", true}, // ideographic spaces, as Chinese input methods type them
        {"   ", "", true},                    // an empty box is right only for a blank answer
        {"", "\u3000", true},
        {"1", "", false},
        {"mp3", "MP3", false},
        {"mp3", "ｍp3", false}, // full-width m
        {"a b", "a  b", false},
        {"ab", "\tab", false},
        {"初光", "初", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnswerMatches(QString::fromUtf8(c.answer), QString::fromUtf8(c.typed)), c.right)
            << c.answer << " / " << c.typed;
}

TEST(StakeLadder, LevelsOutsideOneToFiveStakeNothing)
{
    EXPECT_EQ(StakeForClearedLevel(0), 0);
    EXPECT_EQ(StakeForClearedLevel(6), 0);
    EXPECT_EQ(StakeForFailedLevel(-1), 0);
}
