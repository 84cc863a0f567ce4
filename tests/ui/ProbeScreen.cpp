#include "ProbeScreen.h"

#include "ui/Screens.h"

namespace wd::test {

namespace {

using namespace ctl;

constexpr Row kRows[] = {
    {.name = "Link1", .kind = Kind::Label, .left = 300, .top = 300, .width = 1755, .height = 240,
     .caption = u"到星澜小站升级", .font = font::S9_75, .fore = Colour::LinkBlue, .back = Colour::Green,
     .flags = Link | FitsText},
    {.name = "Link2", .kind = Kind::Label, .left = 3000, .top = 300, .width = 975, .height = 240,
     .caption = u"新用户注册", .font = font::S9_75, .fore = Colour::LinkBlue, .back = Colour::Green,
     .flags = Link | FitsText},
    {.name = "CmdPass", .kind = Kind::Button, .left = 300, .top = 1200, .width = 1200, .height = 390,
     .caption = u"&PASS", .font = font::S9_75, .tab = 1},
    {.name = "Cmdquit", .kind = Kind::Button, .left = 1800, .top = 1200, .width = 1200, .height = 390,
     .caption = u"退出(&Q)", .font = font::S9_75, .tab = 2},
    {.name = "CmdEasy", .kind = Kind::Button, .left = 3300, .top = 1200, .width = 1300, .height = 390,
     .caption = u"拣手题(&E)", .font = font::S9_75, .flags = Disabled, .tab = 0},
    {.name = "TxtUserId", .kind = Kind::TextBox, .left = 300, .top = 1800, .width = 1500, .height = 360,
     .caption = u"glintora", .font = font::S9_75, .maxLength = 20, .tab = 3},
    {.name = "TxtPassword", .kind = Kind::TextBox, .left = 2100, .top = 1800, .width = 1500, .height = 360,
     .font = font::S9_75, .flags = Masked, .maxLength = 10, .tab = 4},
    {.name = "LblFit", .kind = Kind::Label, .left = 300, .top = 2400, .width = 1000, .height = 300,
     .caption = u"240", .font = font::S12B, .fore = Colour::White, .back = Colour::Red, .flags = FitsText},
    {.name = "LblBox", .kind = Kind::Label, .left = 2100, .top = 2400, .width = 2400, .height = 300,
     .caption = u"0", .font = font::S12B, .fore = Colour::White, .back = Colour::Navy, .flags = Centred},
    {.name = "LblTop", .kind = Kind::Label, .left = 300, .top = 3000, .width = 1000, .height = 300,
     .caption = u"上", .back = Colour::Red},
    {.name = "LblUnder", .kind = Kind::Label, .left = 300, .top = 3000, .width = 1000, .height = 300,
     .caption = u"下", .back = Colour::Navy},
    {.name = "LblCovered", .kind = Kind::Label, .left = 2100, .top = 3000, .width = 1000, .height = 390,
     .caption = u"盖", .back = Colour::Navy},
    {.name = "CmdOver", .kind = Kind::Button, .left = 2100, .top = 3000, .width = 1000, .height = 390,
     .caption = u"按", .tab = 5},
    {.name = "Fra", .kind = Kind::Frame, .left = 4500, .top = -45, .width = 1400, .height = 1000,
     .caption = u"出题者", .fore = Colour::LightGreen, .back = Colour::Black},
    {.name = "Lblque", .index = 3, .kind = Kind::Label, .in = "Fra", .left = 105, .top = 300, .width = 270,
     .height = 300, .caption = u"O", .font = font::S12B, .fore = Colour::LightCyan, .back = Colour::BoxBlue},
    {.name = "LblHidden", .kind = Kind::Label, .left = 4500, .top = 3000, .width = 600, .height = 300,
     .caption = u"→", .flags = Hidden},
    {.name = "Shape1", .kind = Kind::Shape, .left = 4500, .top = 1500, .width = 900, .height = 900,
     .fore = Colour::BrightGreen},
    {.name = "Timer1", .kind = Kind::Timer, .interval = 10},
    {.name = "SwfBackground", .kind = Kind::Movie, .play = AnimationPanel::Play::On},
};

} // namespace

ProbeScreen::ProbeScreen(Screens& screens, ScreenId id, ProbeLog& log)
    : Screen(screens, id,
             WindowLayout{.caption = QStringLiteral("probe"), .width = 6000, .height = 4500, .rows = kRows}),
      log_(log)
{
}

void ProbeScreen::RegisterAs(Screens& screens, ScreenId id, ProbeLog& log)
{
    screens.Register(id, [id, &log](Screens& s) -> std::unique_ptr<Screen> {
        return std::make_unique<ProbeScreen>(s, id, log);
    });
}

void ProbeScreen::Form_CloseBox()
{
    ++log_.closeBoxes;
    Screen::Form_CloseBox();
}

} // namespace wd::test
