// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// FrmSaveMoney: the end of a game that earned something. It shows the player's
// total and what the provider of the failed question received, takes the user
// name and password of the fan site, and saves the score by opening the site's
// score page with every figure in its address. Its buttons play again from the
// start screen or end the program; a second link opens the registration page.
//
// The quiz screen and the explosion game show it modally, the tally's stop
// button without waiting. Beyond its controls it keeps only the state of an
// upload whose launch is not yet decided.
#include "screens/SitePages.h"
#include "ui/Messages.h"
#include "ui/Screen.h"

namespace wd {

class FrmSaveMoney final : public Screen {
    Q_OBJECT
public:
    static constexpr ScreenId kId = ScreenId::FrmSaveMoney;
    explicit FrmSaveMoney(Screens& screens);

    // The instructions the load step writes into Lblremark.
    static QString RemarkText();

    void Label1_Click();  // "保存我的分数": the score upload
    void Label4_Click();  // "新用户注册": the registration page
    void CmdQuit_Click(); // "再玩一次": play again, once confirmed
    void CmdExit_Click(); // "退出游戏": end the program, once confirmed

protected:
    void Form_Load() override;
    void Form_CloseBox() override;

private:
    // The controls this screen's code uses, by their names in the layout.
    struct Controls {
        explicit Controls(const ControlSet& set);
        Button* CmdExit;
        Button* CmdQuit;
        TextBox* TxtPassword;
        TextBox* TxtUserId;
        Label* LblProviderScore;
        Label* LblTotal;
        Label* Label4;
        Label* Lblremark;
        Label* Label1;
    };

    enum class Leave { No, PlayAgain, Quit };
    // Leaves as the player confirmed, once any upload has been decided.
    void LeaveBy(Leave how);

    const Controls ui_;
    PageRequests pages_{*this};
    bool uploading_ = false;    // an upload launched and not yet decided
    Leave leaving_ = Leave::No; // a confirmed leave waiting for that upload
};

} // namespace wd
