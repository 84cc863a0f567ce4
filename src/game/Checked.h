// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Arithmetic at a variable's own width that never wraps: a result past the
// width's range is held at the nearest end of that range.
#include <cstdint>
#include <limits>
#include <type_traits>

namespace wd {

template <typename T>
constexpr T clampTo(long long value)
{
    static_assert(std::is_integral_v<T> && std::is_signed_v<T>);
    if (value > std::numeric_limits<T>::max()) return std::numeric_limits<T>::max();
    if (value < std::numeric_limits<T>::min()) return std::numeric_limits<T>::min();
    return static_cast<T>(value);
}

// a + delta at the width of T.
template <typename T>
constexpr T checkedAdd(T a, long long delta)
{
    return clampTo<T>(static_cast<long long>(a) + delta);
}

template <typename T>
constexpr T checkedMul(T a, long long factor)
{
    return clampTo<T>(static_cast<long long>(a) * factor);
}

} // namespace wd
