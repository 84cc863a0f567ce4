// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/reward/FrmCountUp.h"

#include "game/Module1.h"
#include "screens/quiz/Frmmain.h"
#include "ui/Screens.h"
#include "ui/Titles.h"

namespace wd {

namespace {

using namespace ctl;

constexpr const char16_t* kEasyNames[] = {u"拣手题1", u"拣手题2", u"拣手题3"};

constexpr Row EasyMark(int index, int left, const char16_t* caption, int tab)
{
    return {.name = "LblEasy", .index = index, .kind = Kind::Label, .in = "Frame4", .left = left, .top = 225,
            .width = 270, .height = 300, .caption = caption, .font = font::S12B, .fore = Colour::LightCyan,
            .back = Colour::BoxBlue, .tab = tab, .said = kEasyNames[index]};
}

constexpr Row GroupFrame(const char* name, int left, int top, int height, const char16_t* caption, int tab)
{
    return {.name = name, .kind = Kind::Frame, .left = left, .top = top, .width = 2000, .height = height,
            .caption = caption, .fore = Colour::PaleCyan, .back = Colour::Black, .tab = tab};
}

constexpr Row Score(const char* name, const char* in, int left, int top, int width, Colour back, unsigned flags,
                    const char16_t* caption, int tab, const char16_t* said)
{
    return {.name = name, .kind = Kind::Label, .in = in, .left = left, .top = top, .width = width, .height = 300,
            .caption = caption, .font = font::S12B, .fore = Colour::White, .back = back, .flags = flags,
            .tab = tab, .said = said};
}

const Row kRows[] = {
    {.name = "ShockwaveFlash1", .kind = Kind::Movie, .left = 4215, .top = 60, .width = 345, .height = 330,
     .flags = Hidden, .tab = 13, .play = AnimationPanel::Play::On},
    {.name = "OKButton", .kind = Kind::Button, .left = 375, .top = 3420, .width = 1560, .height = 375,
     .caption = u"当然继续啦!", .font = font::S9_75, .tab = 0},
    {.name = "CancelButton", .kind = Kind::Button, .left = 2190, .top = 3420, .width = 2085, .height = 375,
     .caption = u"挪当前的分数算了", .font = font::S9_75, .tab = 1},
    GroupFrame("Frame4", 1290, 2295, 570, u"拣手题", 7),
    EasyMark(0, 510, u"→", 10),
    EasyMark(1, 840, u"X", 9),
    EasyMark(2, 1200, u"→", 8),
    GroupFrame("Frame2", 1305, 1590, 615, u"剩余时间", 3),
    Score("LblRemainTime", "Frame2", 795, 255, 465, Colour::Green, FitsText, u"240", 6, u"剩余时间"),
    GroupFrame("Frame1", 1305, 330, 1140, u"总得分", 2),
    Score("LblFixScore", "Frame1", 495, 270, 1065, Colour::Red, Hidden | FitsText, u"1000000", 12, u"已保住的分数"),
    Score("LblScore", "Frame1", 495, 720, 1065, Colour::Green, FitsText, u"1000000", 5, u"总得分"),
    {.name = "Label4", .kind = Kind::Label, .left = 1200, .top = 2985, .width = 2280, .height = 300,
     .caption = u"未到结局,继唔继续?", .font = font::S12B, .fore = Colour::Red, .back = Colour::Green,
     .flags = FitsText, .tab = 11},
    {.name = "Label1", .kind = Kind::Label, .left = 1725, .top = 75, .width = 975, .height = 240,
     .caption = u"第1关成绩", .fore = Colour::PaleCyan, .back = Colour::Navy, .flags = FitsText, .tab = 4},
};

WindowLayout Layout()
{
    return {.caption = QString::fromUtf16(kWindowTitle) + QStringLiteral("--成绩总结"), .width = 4680,
            .height = 3900, .back = Colour::Green, .font = font::S9_75B, .rows = kRows,
            .description = QStringLiteral("关卡成绩：本关过后的总得分和剩余时间，选择继续下一关或带着分数离开")};
}

} // namespace

FrmCountUp::Controls::Controls(const ControlSet& set)
    : ShockwaveFlash1(set.Get<AnimationPanel>("ShockwaveFlash1")),
      OKButton(set.Get<Button>("OKButton")),
      CancelButton(set.Get<Button>("CancelButton")),
      LblEasy(set.GetArray<Label, rules::kEasyPerRun>("LblEasy")),
      LblRemainTime(set.Get<Label>("LblRemainTime")),
      LblFixScore(set.Get<Label>("LblFixScore")),
      LblScore(set.Get<Label>("LblScore")),
      Label1(set.Get<Label>("Label1"))
{
}

FrmCountUp::FrmCountUp(Screens& screens) : Screen(screens, kId, Layout()), ui_(controls()) {}

void FrmCountUp::Form_Load()
{
    const Module1& m = services().session;
    ui_.Label1->SetCaption(QStringLiteral("第%1关成绩").arg(m.Level));
    if (m.ClearCount > 0) {
        ui_.LblFixScore->show();
        ui_.LblFixScore->SetCaption(QString::number(m.BankedScore()));
    }
    ui_.LblScore->SetCaption(QString::number(m.StakeScore));
    ui_.LblRemainTime->SetCaption(QString::number(m.TimeLeft));
    ShowEasyMarks(ui_.LblEasy, m.EasyLeft);
    ui_.ShockwaveFlash1->SetMovie(MoviePath("noend.swf"));

    connect(ui_.OKButton, &QPushButton::clicked, this, &FrmCountUp::OKButton_Click);
    connect(ui_.CancelButton, &QPushButton::clicked, this, &FrmCountUp::CancelButton_Click);
}

void FrmCountUp::OKButton_Click()
{
    // The window goes first; everything below works on the session and the
    // quiz screen, which outlive it.
    Screens& all = screens();
    Module1& m = services().session;
    all.Unload(kId);
    Frmmain& quiz = all.Get<Frmmain>();
    quiz.BeginLevel(m.BeginNextLevel());
}

void FrmCountUp::CancelButton_Click()
{
    Screens& all = screens();
    all.Show(ScreenId::FrmSaveMoney);
    all.Unload(kId);
    all.Unload(Frmmain::kId);
}

void FrmCountUp::Form_CloseBox() { CancelButton_Click(); }

} // namespace wd
