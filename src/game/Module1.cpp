// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/Module1.h"

#include "game/Checked.h"
#include "game/Rules.h"

namespace wd {

std::int32_t Module1::BankedScore() const
{
    return clampTo<std::int32_t>(static_cast<long long>(ClearCount) * rules::kRunBonus);
}

std::int32_t Module1::TotalScore() const
{
    return checkedAdd<std::int32_t>(BankedScore(), StakeScore);
}

void Module1::StartGame(const QString& typedId)
{
    PlayerId = typedId;
    TimeLeft = rules::kClockSeconds;
    Level = 1;
    ClearCount = 0;
    EasyLeft = rules::kEasyPerRun;
    PassesLeft = rules::kPassesAtLevelOne;
    StakeScore = 0;
    ProviderScore = 0;
}

void Module1::QuizLoaded() { QuestionsLeft = 1; }

bool Module1::RightAnswer()
{
    QuestionsLeft = checkedAdd<std::int16_t>(QuestionsLeft, -1);
    if (QuestionsLeft != 0) return false;
    StakeScore = StakeForClearedLevel(Level);
    if (Level == rules::kLevels) ClearCount = checkedAdd<std::int16_t>(ClearCount, 1);
    return true;
}

void Module1::KeepTimeLeft(std::int16_t seconds) { TimeLeft = seconds; }

void Module1::WrongAnswer() { StakeScore = StakeForFailedLevel(Level); }

std::int16_t Module1::UsePass()
{
    PassesLeft = checkedAdd<std::int16_t>(PassesLeft, -1);
    return PassesLeft;
}

std::int16_t Module1::UseEasy()
{
    EasyLeft = checkedAdd<std::int16_t>(EasyLeft, -1);
    return EasyLeft;
}

bool Module1::BeginNextLevel()
{
    Level = checkedAdd<std::int16_t>(Level, 1);
    const bool newRun = Level > rules::kLevels;
    if (newRun) {
        Level = 1;
        EasyLeft = rules::kEasyPerRun;
        StakeScore = 0;
    }
    QuestionsLeft = QuestionsForLevel(Level);
    if (Level < rules::kLevels) PassesLeft = PassesForLevel(Level);
    return newRun;
}

void Module1::SplitStake(std::int32_t player, std::int32_t provider)
{
    StakeScore = player;
    ProviderScore = provider;
}

void Module1::UploadAs(const QString& id, const QString& password)
{
    PlayerPassword = password;
    PlayerId = id;
}

void Module1::ScoreUploaded()
{
    StakeScore = 0;
    ProviderScore = 0;
}

void Module1::PlayAgain() { StakeScore = 0; }

} // namespace wd
