// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// FrmHelp: the rules of the game as the player reads them. A fixed model of the
// quiz screen's level board above, and below it the rules page or, laid over
// it, the examples page. Every way of closing it unloads it.
#include <array>

#include "ui/Screen.h"

namespace wd {

class FrmHelp final : public Screen {
    Q_OBJECT
public:
    static constexpr ScreenId kId = ScreenId::FrmHelp;
    explicit FrmHelp(Screens& screens);

    // The two pages as the load step writes them, paragraphs joined by carriage returns.
    static QString RulesPage();
    static QString ExamplesPage();
    static QString WindowCaption();

    void Command2_Click(); // "例如" / "看完": switch pages
    void Command1_Click(); // "退出"

protected:
    void Form_Load() override;
    void Form_CloseBox() override;

private:
    // The controls this screen's code uses, by their names in the layout.
    struct Controls {
        explicit Controls(const ControlSet& set);
        std::array<Label*, 12> LblTime; // the notes and, as LblTime(6) and LblTime(10), the two pages
        Button* Command2;
        Button* Command1;
    };

    const Controls ui_;
};

} // namespace wd
