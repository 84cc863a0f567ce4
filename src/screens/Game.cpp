// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/Game.h"

#include <QApplication>

#include "platform/AppPaths.h"
#include "screens/AllScreens.h"
#include "ui/ProgramIcon.h"
#include "ui/Titles.h"

namespace wd {

Game::Game()
    : bank_(session_, random_, QuestionFilePath(), QuestionFileAccess()),
      screens_(Services{session_, bank_, messages_, random_, urls_})
{
    QApplication::setApplicationName(QString::fromUtf16(kApplicationTitle));
    // Lets the desktop find the game's entry and icon for its windows.
    QGuiApplication::setDesktopFileName(QStringLiteral(WD_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());
    // Screens decide when the game is over: a hidden window still counts.
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterAllScreens(screens_);
}

void Game::Start(ScreenId first) { screens_.Show(first); }

} // namespace wd
