// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The program icon: a bronze ding on green, one 32x32 and one 16x16 image in
// the 16-colour palette. Every window of the game carries it.
#include <QIcon>

namespace wd {

QIcon ProgramIcon();

} // namespace wd
