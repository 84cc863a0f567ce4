// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The quiz screen's question box, Lblquestion: its row, which the quiz screen's
// layout table lists, and the measurement that tells whether a question shows
// whole in it, which the question-file tool applies to every question.
#include <QString>

#include "ui/Layout.h"

namespace wd {

inline constexpr Row kQuestionRow{.name = "Lblquestion", .kind = Kind::Label, .in = "Fraquestion", .left = 105,
                                  .top = 285, .width = 4575, .height = 1080, .font = font::S12,
                                  .fore = Colour::PaleCyan, .back = Colour::Green, .tab = 9, .said = u"题目"};

// Whether a question text shows whole in the question box, measured with the
// box's own font and size. Needs a QApplication.
bool QuestionShowsWhole(const QString& quest);

} // namespace wd
