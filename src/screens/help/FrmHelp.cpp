// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/help/FrmHelp.h"

#include <array>

#include "game/Site.h"
#include "ui/Screens.h"
#include "ui/Titles.h"

namespace wd {

namespace {

using namespace ctl;

// One question box of the level board: Lblque(index), slot 0..4 of its row frame.
constexpr Row Box(int index, const char* frame, int frameIndex, int slot, bool marked)
{
    constexpr int kLefts[5] = {105, 465, 825, 1185, 1545};
    return {.name = "Lblque", .index = index, .kind = Kind::Label, .in = frame, .inIndex = frameIndex,
            .left = kLefts[slot], .top = 180, .width = 270, .height = 300, .caption = marked ? u"V" : u"",
            .font = font::S12B, .fore = Colour::LightCyan, .back = Colour::BoxBlue};
}

// A level label of the board: "第N关".
constexpr Row Level(int index, int left, int top, const char16_t* caption)
{
    return {.name = "Lblque", .index = index, .kind = Kind::Label, .in = "Frame1", .left = left, .top = top,
            .width = 600, .height = 300, .caption = caption, .font = font::S12B, .fore = Colour::LightCyan,
            .back = Colour::Green, .flags = FitsText};
}

// A captionless black frame holding one row of boxes.
constexpr Row RowFrame(const char* name, int index, int top)
{
    return {.name = name, .index = index, .kind = Kind::Frame, .in = "Frame1", .left = 810, .top = top,
            .width = 1920, .height = 525, .back = Colour::Black};
}

// A centred line of explanation that sizes to its text.
constexpr Row Note(int index, int left, int top, int width, const char16_t* caption)
{
    return {.name = "LblTime", .index = index, .kind = Kind::Label, .in = "Frame1", .left = left, .top = top,
            .width = width, .height = 240, .caption = caption, .font = font::S9_75B, .fore = Colour::PaleCyan,
            .back = Colour::Green, .flags = Centred | FitsText};
}

constexpr Row kRows[] = {
    {.name = "Frame1", .kind = Kind::Frame, .left = 60, .top = -45, .width = 9330, .height = 3765, .back = Colour::Green},
    // level 1
    Level(25, 75, 270, u"第1关"),
    RowFrame("Frame3", 2, 120),
    Box(15, "Frame3", 2, 0, true), Box(16, "Frame3", 2, 1, false), Box(17, "Frame3", 2, 2, false),
    Box(18, "Frame3", 2, 3, false), Box(19, "Frame3", 2, 4, false),
    Note(1, 2940, 315, 5700, u"有4个Pass机会,　要答对1道题就可以过关,可得5000分"),
    // level 2
    Level(26, 90, 780, u"第2关"),
    RowFrame("Frame4", kNoIndex, 630),
    Box(5, "Frame4", kNoIndex, 0, true), Box(6, "Frame4", kNoIndex, 1, true), Box(7, "Frame4", kNoIndex, 2, false),
    Box(8, "Frame4", kNoIndex, 3, false), Box(9, "Frame4", kNoIndex, 4, false),
    Note(2, 2940, 840, 5700, u"有3个Pass机会,　要答对2道题就可以过关,可得10000分"),
    // level 3
    Level(27, 90, 1320, u"第3关"),
    RowFrame("Frame3", 0, 1140),
    Box(0, "Frame3", 0, 0, true), Box(1, "Frame3", 0, 1, true), Box(2, "Frame3", 0, 2, true),
    Box(3, "Frame3", 0, 3, false), Box(4, "Frame3", 0, 4, false),
    Note(3, 2940, 1380, 5700, u"有2个Pass机会,　要答对3道题就可以过关,可得20000分"),
    // level 4
    Level(28, 75, 1845, u"第4关"),
    RowFrame("Frame3", 1, 1665),
    Box(10, "Frame3", 1, 0, true), Box(11, "Frame3", 1, 1, true), Box(12, "Frame3", 1, 2, true),
    Box(13, "Frame3", 1, 3, true), Box(14, "Frame3", 1, 4, false),
    Note(4, 2940, 1890, 5700, u"有1个Pass机会,　要答对4道题就可以过关,可得40000分"),
    // level 5
    Level(29, 90, 2340, u"第5关"),
    RowFrame("Frame3", 3, 2190),
    Box(20, "Frame3", 3, 0, true), Box(21, "Frame3", 3, 1, true), Box(22, "Frame3", 3, 2, true),
    Box(23, "Frame3", 3, 3, true), Box(24, "Frame3", 3, 4, true),
    Note(5, 2940, 2370, 5700, u"没有Pass机会,　要答对5道题就可以过关,可得100000分"),
    // the easy questions and the notes under the board
    Note(7, 90, 2880, 660, u"拣手题"),
    {.name = "Frame2", .kind = Kind::Frame, .in = "Frame1", .left = 795, .top = 2715, .width = 1140, .height = 525,
     .back = Colour::Black},
    {.name = "LblEasy", .index = 0, .kind = Kind::Label, .in = "Frame2", .left = 105, .top = 165, .width = 270,
     .height = 300, .caption = u"→", .font = font::S12B, .fore = Colour::PaleCyan, .back = Colour::BoxBlue},
    {.name = "LblEasy", .index = 1, .kind = Kind::Label, .in = "Frame2", .left = 435, .top = 165, .width = 270,
     .height = 300, .caption = u"→", .font = font::S12B, .fore = Colour::PaleCyan, .back = Colour::BoxBlue},
    {.name = "LblEasy", .index = 2, .kind = Kind::Label, .in = "Frame2", .left = 780, .top = 165, .width = 270,
     .height = 300, .caption = u"→", .font = font::S12B, .fore = Colour::PaleCyan, .back = Colour::BoxBlue},
    Note(0, 2040, 2895, 4800, u"难度较少的题目　5关之内只有3个用 拣手题 的机会"),
    Note(8, 75, 3270, 1020, u"Pass机会:"),
    Note(9, 1200, 3285, 7350, u"当你遇到不会回答的问题时,只要Pass按钮还可以用,你就可以用Pass跳过这题."),
    {.name = "LblTime", .index = 11, .kind = Kind::Label, .in = "Frame1", .left = 120, .top = 3510, .width = 9120,
     .height = 240, .caption = u"注：凡是答案中有英文字母的一律用小写，有数字的答案都不需要带单位。否则错了，不要怪我哦.",
     .font = font::S9_75B, .fore = Colour::PaleYellow, .back = Colour::Red, .flags = Centred | FitsText},
    // the two pages and the buttons over their lower right corner
    {.name = "LblTime", .index = 10, .kind = Kind::Label, .left = 75, .top = 3795, .width = 9300, .height = 3840,
     .font = font::S9_75, .fore = Colour::PaleCyan, .back = Colour::Navy, .flags = Hidden},
    {.name = "LblTime", .index = 6, .kind = Kind::Label, .left = 90, .top = 3825, .width = 9285, .height = 3840,
     .font = font::S9_75, .fore = Colour::PaleCyan, .back = Colour::Green},
    {.name = "Command2", .kind = Kind::Button, .left = 6765, .top = 7230, .width = 1215, .height = 360,
     .caption = u"例如", .tab = 0},
    {.name = "Command1", .kind = Kind::Button, .left = 8040, .top = 7230, .width = 1215, .height = 360,
     .caption = u"退出", .tab = 1},
};

constexpr std::array<const char16_t*, 6> kRules{
    u"本游戏所有题目均为填空题,所得的游戏分数不设上限.你必须在240秒内通过5关的考验　只要在顺利通过5关后　游戏剩余时间将恢复为240秒　和恢复有3道拣手题的机会.并且重新从第一关开始玩　而你获得的连过5关的分数肯定是你的　",
    u"只要你一旦答错题目　你将带著你暂时获得的分数进入爆煲游戏",
    u"关于爆煲游戏:你选择3个按钮中的其中一个　其中有3个按钮中的只有一个不会爆炸.接著　分数从0开始增加　如果你选择的按钮不会爆炸　分数将增加到你暂时获得的分数为止　你将获得所有的分数　",
    u"如果你选择按钮会爆炸　分数在递增的过程中随时爆炸　如果你来不及按'Stop'按钮的话　你暂时获得的分数将全数送给你答错题的出题者　如果你在分数爆炸之前按下'Stop'按钮　则你将获得按下'Stop'按钮时的分数　剩下的将送给你答错题的出题者.",
    u"值得注意的是　你每次通5关所获得的分数将永远是你的　不会带入爆煲游戏.",
    u"关于保存分数:你所获得的分数可以保存到星澜小站网站数据库里　从而参加玩家积分排行棒　所以　当出现'问鼎五关--保存分数'的窗口时　记住要在输入你在星澜小站注册的用户名和密码后　点击'保存我的分数'的连接　同时确认你的电脑是否已经连接Internet.",
};

constexpr std::array<const char16_t*, 7> kExamples{
    u"假如我是玩家,在回答一出题者叫Kessa的题目时答错了　就进入爆煲游戏:",
    u"1.假如我暂时获得20000分进入爆煲游戏,我选择第3个按钮(很好运不会爆炸),在分数递增过程中我没有按Stop按钮　等分数加完后　按继续按钮　这样我将获得20000分",
    u"2.假如我暂时获得20000分进入爆煲游戏,我选择第3个按钮(很好运不会爆炸),在分数递增过程中,当分数增加到15000分时　我害怕会爆炸　就按了Stop按钮,这样按继续按钮后我将获得15000分,而Kessa获得5000分.",
    u"3.假如我暂时获得20000分进入爆煲游戏,我选择第3个按钮(不好运,会爆炸),在分数递增过程中,我还没有来得及按Stop按钮,就出现'爆'字　这样按继续按钮后Kessa将获得20000分,而我一分都没有.",
    u"4.假如我暂时获得20000分进入爆煲游戏,我选择第3个按钮(不好运,会爆炸),在分数递增过程中,当分数增加到15000分时　我害怕会爆炸　就按了Stop按钮,这样按继续按钮后我将获得15000分,而Kessa获得5000分.",
    u"要特别注意的是:",
    u"如果之前　我已经通关一次获得100000分　现在在重新继续玩的时候我暂时再多获得20000分时进入爆煲游戏,那么无论怎样　那通关获得的100000分将不会带入爆煲游戏,那100000分一定是我的　",
};

constexpr char16_t kCR = u'\r';

// The two pages among the labels LblTime(0) .. LblTime(11).
constexpr int kRulesPage = 6;
constexpr int kExamplesPage = 10;

WindowLayout Layout()
{
    return {.caption = FrmHelp::WindowCaption(), .width = 9435, .height = 7740, .back = Colour::DarkGrey,
            .rows = kRows, .description = QStringLiteral("玩法说明：游戏的规则和一个答题的例子")};
}

} // namespace

FrmHelp::Controls::Controls(const ControlSet& set)
    : LblTime(set.GetArray<Label, 12>("LblTime")),
      Command2(set.Get<Button>("Command2")),
      Command1(set.Get<Button>("Command1"))
{
}

FrmHelp::FrmHelp(Screens& screens) : Screen(screens, kId, Layout()), ui_(controls()) {}

QString FrmHelp::WindowCaption()
{
    return QString::fromUtf16(kWindowTitle) + QStringLiteral("--教你玩 ") + QString::fromUtf16(site::kName)
         + QLatin1Char(' ') + site::HomeAddress();
}

QString FrmHelp::RulesPage()
{
    auto p = [](std::size_t i) { return QString::fromUtf16(kRules[i]); };
    const QString cr(kCR);
    return p(0) + cr + p(1) + cr + cr + p(2) + cr + p(3) + cr + p(4) + cr + cr + p(5);
}

QString FrmHelp::ExamplesPage()
{
    QString page;
    for (std::size_t i = 0; i < kExamples.size(); ++i) {
        if (i > 0) page += kCR;
        page += QString::fromUtf16(kExamples[i]);
    }
    return page;
}

void FrmHelp::Form_Load()
{
    ui_.LblTime[kRulesPage]->SetCaption(RulesPage());
    ui_.LblTime[kExamplesPage]->SetCaption(ExamplesPage());
    connect(ui_.Command2, &QPushButton::clicked, this, &FrmHelp::Command2_Click);
    connect(ui_.Command1, &QPushButton::clicked, this, &FrmHelp::Command1_Click);
}

void FrmHelp::Command2_Click()
{
    Label* examples = ui_.LblTime[kExamplesPage];
    if (examples->isHidden()) {
        examples->show();
        ui_.Command2->SetCaption(QStringLiteral("看完"));
    } else {
        examples->hide();
        ui_.Command2->SetCaption(QStringLiteral("例如"));
    }
}

void FrmHelp::Command1_Click() { screens().Unload(kId); }

void FrmHelp::Form_CloseBox() { screens().Unload(kId); }

} // namespace wd
