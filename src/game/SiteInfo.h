#pragma once
// The fan site the game belongs to: its name, host and contact address, the
// one place every screen and link takes them from.

namespace wd::site {

inline constexpr char16_t kName[] = u"星澜小站";
inline constexpr char16_t kHost[] = u"www.xinglan.example";
inline constexpr char16_t kHomeAddress[] = u"http://www.xinglan.example/";
inline constexpr char16_t kContact[] = u"webmaster@xinglan.example";

} // namespace wd::site
