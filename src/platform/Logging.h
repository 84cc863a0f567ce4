// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The program's logging categories, declared here and nowhere else. What they
// say is for whoever runs the game from a terminal or reads the journal; the
// player never sees it. Quiet them with QT_LOGGING_RULES="wd.*=false".
//   wd.sound  the sound output coming and going, movies over their budget
//   wd.bank   why a question could not be drawn from the question file
#include <QLoggingCategory>

namespace wd {

Q_DECLARE_LOGGING_CATEGORY(lcSound)
Q_DECLARE_LOGGING_CATEGORY(lcBank)

} // namespace wd
