// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/Rules.h"

namespace wd {

std::int32_t StakeForClearedLevel(int level)
{
    if (level < 1 || level > rules::kLevels) return 0;
    return rules::kClearedStake[static_cast<std::size_t>(level - 1)];
}

std::int32_t StakeForFailedLevel(int level)
{
    if (level < 1 || level > rules::kLevels) return 0;
    return rules::kFailedStake[static_cast<std::size_t>(level - 1)];
}

std::array<QString, 3> EasyMarks(int easyLeft)
{
    std::array<QString, 3> marks;
    const int used = rules::kEasyPerRun - easyLeft;
    for (int i = 0; i < 3; ++i)
        marks[static_cast<std::size_t>(i)] = i < used ? QStringLiteral("X") : QStringLiteral("→");
    return marks;
}

QString TrimAnswerSpaces(const QString& text)
{
    auto isPad = [](QChar c) { return c == QChar(u' ') || c == QChar(u'\u3000'); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isPad(text.at(begin))) ++begin;
    while (end > begin && isPad(text.at(end - 1))) --end;
    return text.mid(begin, end - begin);
}

bool AnswerMatches(const QString& correctAnswer, const QString& typed)
{
    return TrimAnswerSpaces(correctAnswer) == TrimAnswerSpaces(typed);
}

} // namespace wd
