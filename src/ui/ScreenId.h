// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <cstddef>

namespace wd {

// The six screens of the game.
enum class ScreenId { FrmStart, Frmmain, FrmCountUp, FrmExplosion, FrmSaveMoney, FrmHelp };
inline constexpr std::size_t kScreenCount = 6;

enum class ScreenState { NotLoaded, Hidden, Shown };

} // namespace wd
