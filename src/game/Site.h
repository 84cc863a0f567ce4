// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The fan site the game belongs to, and the addresses of its pages. The build
// reads the name, contact and home page from here for the desktop and the package.
#include <QString>

namespace wd::site {

inline constexpr char16_t kName[] = u"星澜小站";
inline constexpr char kScheme[] = "http://";
inline constexpr char kHost[] = "www.xinglan.example";
inline constexpr char kContact[] = "webmaster@xinglan.example";
inline constexpr char kHomePath[] = "/";
inline constexpr char kRegisterPath[] = "/asp/register/4-01.asp";
inline constexpr char kScorePath[] = "/asp/wending/saveresult.asp";

// scheme + host + path
QString PageAddress(const char* path);
inline QString HomeAddress() { return PageAddress(kHomePath); }
inline QString RegisterAddress() { return PageAddress(kRegisterPath); }
// The two lines of credits at the foot of the start and quiz screens.
QString Credits();

} // namespace wd::site
