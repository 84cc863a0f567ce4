#pragma once
#include <cstddef>

namespace wd {

// The six screens of the game.
enum class ScreenId { FrmStart, Frmmain, FrmCountUp, FrmExplosion, FrmSaveMoney, FrmHelp };
inline constexpr std::size_t kScreenCount = 6;

enum class ScreenState { NotLoaded, Hidden, Shown };

} // namespace wd
