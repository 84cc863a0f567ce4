// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// FrmStart: the first window. Its load opens the question bank for the whole
// run of the program; it takes the player's user id and starts a game, offers
// the rules and quitting, and links to the fan site. It stays loaded, hidden,
// while a game is played.
#include "screens/SitePages.h"
#include "ui/Screen.h"

namespace wd {

class FrmStart final : public Screen {
    Q_OBJECT
public:
    static constexpr ScreenId kId = ScreenId::FrmStart;
    explicit FrmStart(Screens& screens);

    void CmdStart_Click();
    void CmdHelp_Click();
    void CmdQuit_Click();
    void Label1_Click();
    void Label4_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_CloseBox() override;

private:
    // The controls this screen's code uses, by their names in the layout.
    struct Controls {
        explicit Controls(const ControlSet& set);
        AnimationPanel* ShockwaveFlash1;
        Button* CmdQuit;
        Button* CmdHelp;
        TextBox* TxtUserId;
        Button* CmdStart;
        Label* Label3;
        Label* Label1;
        Label* Label4;
        Label* Lblremark;
    };

    const Controls ui_;
    PageRequests pages_{*this};
};

} // namespace wd
