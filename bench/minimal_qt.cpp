// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The yardstick for the game's start-up: the least a Qt Widgets program does
// to show Chinese text in the game's fonts. One label, the same font
// families, the same Qt libraries, the same probe.
#include <QApplication>
#include <QLabel>

#include "ShownProbe.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    wd::bench::ShownProbe probe;
    QLabel label(QStringLiteral("问鼎五关 接受全球澜迷大考验"));
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(24);
    label.setFont(font);
    label.show();
    return app.exec();
}
