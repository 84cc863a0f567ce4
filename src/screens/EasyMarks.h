// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The easy-question chances as the quiz screen and the tally show them: one
// label a chance, left to right, "X" for each used and "→" for each left.
#include <array>

#include "game/Rules.h"
#include "ui/Controls.h"

namespace wd {

using EasyMarkLabels = std::array<Label*, rules::kEasyPerRun>;

inline void ShowEasyMarks(const EasyMarkLabels& labels, int easyLeft)
{
    const auto marks = EasyMarks(easyLeft);
    for (std::size_t i = 0; i < labels.size(); ++i) labels[i]->SetCaption(marks[i]);
}

} // namespace wd
