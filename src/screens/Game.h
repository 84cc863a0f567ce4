// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The running game: the session state, the question bank, the real seams and
// the six screens, in one object that main() makes and starts.
#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "platform/Random.h"
#include "platform/UrlOpener.h"
#include "ui/Messages.h"
#include "ui/Screens.h"

namespace wd {

class Game {
public:
    Game();
    // Shows the first window; the caller then runs the event loop.
    void Start(ScreenId first);
    Screens& screens() { return screens_; }

private:
    Module1 session_;
    ClockSeededRandom random_;
    QuestionBank bank_;
    QtMessageBoxes messages_;
    DesktopUrlOpener urls_;
    Screens screens_;
};

} // namespace wd
