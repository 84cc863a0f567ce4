// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace wd {

class Screens;

// Makes every screen of the game known to screens. A new screen adds one line;
// one missing stops the program here.
void RegisterAllScreens(Screens& screens);

} // namespace wd
