// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Look.h"

#include <QGuiApplication>
#include <QPalette>

namespace wd {

QColor ToQColor(Colour colour)
{
    switch (colour) {
    case Colour::Default: return {};
    case Colour::Green: return QColor(0x00, 0x80, 0x00);
    case Colour::Black: return QColor(0x00, 0x00, 0x00);
    case Colour::DarkGrey: return QColor(0x40, 0x40, 0x40);
    case Colour::BoxBlue: return QColor(0x00, 0x00, 0xC0);
    case Colour::Navy: return QColor(0x00, 0x00, 0x80);
    case Colour::Red: return QColor(0xFF, 0x00, 0x00);
    case Colour::LinkBlue: return QColor(0x00, 0x00, 0xFF);
    case Colour::PaleCyan: return QColor(0xC0, 0xFF, 0xFF);
    case Colour::LightCyan: return QColor(0x80, 0xFF, 0xFF);
    case Colour::Yellow: return QColor(0xFF, 0xFF, 0x00);
    case Colour::PaleYellow: return QColor(0xFF, 0xFF, 0x80);
    case Colour::BrightGreen: return QColor(0x00, 0xFF, 0x00);
    case Colour::LightGreen: return QColor(0x80, 0xFF, 0x80);
    case Colour::PaleGreen: return QColor(0xC0, 0xFF, 0xC0);
    case Colour::Lavender: return QColor(0xC0, 0xC0, 0xFF);
    case Colour::Cyan: return QColor(0x00, 0xFF, 0xFF);
    case Colour::White: return QColor(0xFF, 0xFF, 0xFF);
    case Colour::HighlightText: return QGuiApplication::palette().color(QPalette::HighlightedText);
    }
    return {};
}

int PixelSize(TextSize size)
{
    switch (size) {
    case TextSize::Window:
    case TextSize::S9_75: return 13;
    case TextSize::S12: return 16;
    case TextSize::S13_5: return 18;
    case TextSize::S18: return 24;
    case TextSize::S24: return 32;
    }
    return 13;
}

QStringList FontFamilies()
{
    return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
}

QFont GameFont(FontSpec font)
{
    QFont f;
    f.setFamilies(FontFamilies());
    f.setPixelSize(PixelSize(font.size));
    f.setBold(font.bold);
    return f;
}

} // namespace wd
