// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Validation of a question file: what the game needs from it, question texts
// that the quiz screen shows whole, and the answer rules the help screen gives
// the player (letters lowercase, numbers without units). The file is only read.
// Measuring the texts needs a QApplication.
#include <filesystem>
#include <vector>

#include <QString>

namespace wd::bank {

struct Problem {
    QString table; // "question", "easy", or empty for the file as a whole
    long long id = 0;
    QString text;
};

std::vector<Problem> CheckBank(const std::filesystem::path& file);

// The answer rules alone, for one answer; empty when the answer is fine.
std::vector<QString> AnswerRuleProblems(const QString& answer);

QString Format(const Problem& p);

} // namespace wd::bank
