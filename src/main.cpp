// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>

#include "screens/Game.h"
#include "ui/Translations.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    wd::InstallQtTranslations();
    wd::Game game;
    game.Start(wd::ScreenId::FrmStart);
    return app.exec();
}
