// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// FrmExplosion: the gamble for the stake after a failed run. The player picks
// one of three buttons, one of which is safe; a counter then climbs towards the
// stake at random intervals and, behind an exploding button, goes off between
// 40 % and 99 % of it, handing the stake to the provider of the missed question.
// Stop keeps the count so far. It always ends in the score-saving screen. The
// close box does nothing until the count has finished or exploded, then acts
// as "继续".
#include <array>
#include <cstdint>

#include "game/Explosion.h"
#include "ui/Screen.h"

namespace wd {

class FrmExplosion final : public Screen {
    Q_OBJECT
public:
    static constexpr ScreenId kId = ScreenId::FrmExplosion;
    explicit FrmExplosion(Screens& screens);

    void CmdNum_Click(int index); // a pick, 0..2
    void Timer1_Timer();          // one step of the counter
    void CmdStop_Click();         // "&Stop!!!" while counting, "继续" at the end

    // The gamble as it stands: its phase, the count on show, the split so far,
    // the point of explosion, what the player keeps and whether the player stopped.
    const explosion::Gamble& Gamble() const { return gamble_; }
    // The counter has reached the stake or exploded; "继续" leaves.
    bool Ended() const { return gamble_.phase == explosion::Phase::Ended; }

protected:
    void Form_Load() override;
    void Form_CloseBox() override;

private:
    // The controls this screen's code uses, by their names in the layout.
    struct Controls {
        explicit Controls(const ControlSet& set);
        AnimationPanel* SwfBackground;
        Button* CmdStop;
        std::array<Button*, explosion::kButtons> CmdNum;
        QTimer* Timer1;
        Label* Label1;
        Label* Label2;
        Label* LblScore;
    };

    void Leave();
    // The session takes the split as the gamble now has it.
    void Split();

    const Controls ui_;
    explosion::Gamble gamble_;
    std::int16_t SafeIndex = 0; // the safe button, drawn at the pick
};

} // namespace wd
