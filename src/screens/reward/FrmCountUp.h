// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// FrmCountUp: the tally after a cleared level. It shows the level, the banked
// and the current score, the seconds left and the easy-question chances, and
// offers to go on (the next level on the quiz screen, or a new run after level
// 5) or to stop and save the score. Both ways unload it; so does its close box,
// which stops like the stop button.
#include "screens/EasyMarks.h"
#include "ui/Screen.h"

namespace wd {

class FrmCountUp final : public Screen {
    Q_OBJECT
public:
    static constexpr ScreenId kId = ScreenId::FrmCountUp;
    explicit FrmCountUp(Screens& screens);

    void OKButton_Click();     // "当然继续啦!": the next level
    void CancelButton_Click(); // "挪当前的分数算了": save the score

protected:
    void Form_Load() override;
    void Form_CloseBox() override;

private:
    // The controls this screen's code uses, by their names in the layout.
    struct Controls {
        explicit Controls(const ControlSet& set);
        AnimationPanel* ShockwaveFlash1;
        Button* OKButton;
        Button* CancelButton;
        EasyMarkLabels LblEasy;
        Label* LblRemainTime;
        Label* LblFixScore;
        Label* LblScore;
        Label* Label1;
    };

    const Controls ui_;
};

} // namespace wd
