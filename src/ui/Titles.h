// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The game's titles: on confirmations, on every other message box (the
// application's own name) and at the start of every window caption.

namespace wd {

inline constexpr char16_t kGameTitle[] = u"问鼎五关";
inline constexpr char16_t kApplicationTitle[] = u"WenDingWuGuan";
inline constexpr char16_t kWindowTitle[] = u"问鼎五关(Kessa Version)";

} // namespace wd
