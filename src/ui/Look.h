// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The look every screen shares: units, the colours of the game, its fonts.
// Each value is named here once; layout tables refer to these names only.
#include <QColor>
#include <QFont>
#include <QStringList>

namespace wd {

// Positions and sizes in layout tables are twips: 15 twips to a
// device-independent pixel, so HiDPI scaling enlarges a whole window.
inline constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips)
{
    // round half away from zero, so negative coordinates mirror positive ones
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

enum class Colour {
    Default,       // the system's own colour for that part of the control
    Green,         // #008000
    Black,         // #000000
    DarkGrey,      // #404040
    BoxBlue,       // #0000C0 question boxes and easy-question marks
    Navy,          // #000080
    Red,           // #FF0000
    LinkBlue,      // #0000FF link labels at rest
    PaleCyan,      // #C0FFFF
    LightCyan,     // #80FFFF
    Yellow,        // #FFFF00
    PaleYellow,    // #FFFF80
    BrightGreen,   // #00FF00
    LightGreen,    // #80FF80
    PaleGreen,     // #C0FFC0
    Lavender,      // #C0C0FF
    Cyan,          // #00FFFF
    White,         // #FFFFFF
    HighlightText, // the system's highlight-text colour
};

// The RGB value of a colour; Default gives an invalid QColor.
QColor ToQColor(Colour colour);

// The five text sizes of the game, in pixels at 96 dpi, and the window font.
enum class TextSize {
    Window, // the window's own font (see WindowLayout::font)
    S9_75,  // 9.75 pt, 13 px
    S12,    // 12 pt, 16 px
    S13_5,  // 13.5 pt, 18 px
    S18,    // 18 pt, 24 px
    S24,    // 24 pt, 32 px
};
int PixelSize(TextSize size);

struct FontSpec {
    TextSize size = TextSize::Window;
    bool bold = false;
};

// Shorthands for layout tables.
namespace font {
inline constexpr FontSpec Window{};
inline constexpr FontSpec S9_75{TextSize::S9_75, false};
inline constexpr FontSpec S9_75B{TextSize::S9_75, true};
inline constexpr FontSpec S12{TextSize::S12, false};
inline constexpr FontSpec S12B{TextSize::S12, true};
inline constexpr FontSpec S13_5{TextSize::S13_5, false};
inline constexpr FontSpec S13_5B{TextSize::S13_5, true};
inline constexpr FontSpec S18{TextSize::S18, false};
inline constexpr FontSpec S18B{TextSize::S18, true};
inline constexpr FontSpec S24{TextSize::S24, false};
inline constexpr FontSpec S24B{TextSize::S24, true};
// The window font of a screen unless its layout says otherwise.
inline constexpr FontSpec DefaultWindow = S9_75;
} // namespace font

// Chinese, Latin letters and digits in one font, first family found wins.
QStringList FontFamilies();
// font.size must not be Window: resolve it against the window font first.
QFont GameFont(FontSpec font);

} // namespace wd
