// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A screen for exercising the toolkit: a control of each kind the tests need.
#include "ui/Screen.h"
#include "ui/Screens.h"

namespace wd::test {

namespace probe {
using namespace ctl;
inline constexpr Row kRows[] = {
    {.name = "Link1", .kind = Kind::Label, .left = 300, .top = 300, .width = 1755, .height = 240, .caption = u"到星澜小站升级",
     .fore = Colour::LinkBlue, .back = Colour::Green, .flags = Link | FitsText},
    {.name = "Link2", .kind = Kind::Label, .left = 3000, .top = 300, .width = 975, .height = 240, .caption = u"新用户注册",
     .fore = Colour::LinkBlue, .back = Colour::Green, .flags = Link | FitsText},
    {.name = "CmdPass", .kind = Kind::Button, .left = 300, .top = 1200, .width = 1200, .height = 390, .caption = u"&PASS", .tab = 1},
    {.name = "Cmdquit", .kind = Kind::Button, .left = 1800, .top = 1200, .width = 1200, .height = 390, .caption = u"退出(&Q)", .tab = 2},
    {.name = "CmdEasy", .kind = Kind::Button, .left = 3300, .top = 1200, .width = 1300, .height = 390, .caption = u"拣手题(&E)",
     .flags = Disabled, .tab = 0},
    {.name = "TxtUserId", .kind = Kind::TextBox, .left = 300, .top = 1800, .width = 1500, .height = 360, .caption = u"glintora",
     .maxLength = 20, .tab = 3},
    {.name = "TxtPassword", .kind = Kind::TextBox, .left = 2100, .top = 1800, .width = 1500, .height = 360, .flags = Masked,
     .maxLength = 10, .tab = 4},
    {.name = "Shape1", .kind = Kind::Shape, .left = 4500, .top = 1500, .width = 900, .height = 900},
};
} // namespace probe

class ProbeScreen final : public Screen {
    Q_OBJECT
public:
    ProbeScreen(Screens& screens, ScreenId id)
        : Screen(screens, id, WindowLayout{.caption = QStringLiteral("probe"), .width = 6000, .height = 4500, .rows = probe::kRows})
    {
    }
    // Registers a probe under id.
    static void RegisterAs(Screens& screens, ScreenId id)
    {
        screens.Register(id, [id](Screens& s) -> std::unique_ptr<Screen> { return std::make_unique<ProbeScreen>(s, id); });
    }
};

} // namespace wd::test
