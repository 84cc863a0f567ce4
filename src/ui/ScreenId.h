// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <cstddef>

namespace wd {

// The six screens of the game.
enum class ScreenId { FrmStart, Frmmain, FrmCountUp, FrmExplosion, FrmSaveMoney, FrmHelp };
inline constexpr std::size_t kScreenCount = 6;
static_assert(static_cast<std::size_t>(ScreenId::FrmHelp) + 1 == kScreenCount);

// A screen's name as the code spells it, for messages.
constexpr const char* ScreenName(ScreenId id)
{
    constexpr const char* kNames[kScreenCount] = {"FrmStart",     "Frmmain",      "FrmCountUp",
                                                  "FrmExplosion", "FrmSaveMoney", "FrmHelp"};
    return kNames[static_cast<std::size_t>(id)];
}

enum class ScreenState { NotLoaded, Hidden, Shown };

} // namespace wd
