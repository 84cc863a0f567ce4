// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/entry/FrmStart.h"

#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "game/Site.h"
#include "screens/quiz/Frmmain.h"
#include "ui/Messages.h"
#include "ui/Screens.h"
#include "ui/Titles.h"

namespace wd {

namespace {

using namespace ctl;

const Row kRows[] = {
    {.name = "ShockwaveFlash1", .kind = Kind::Movie, .left = 4410, .top = 1515, .width = 285, .height = 240,
     .flags = Hidden, .tab = 9, .play = AnimationPanel::Play::Off},
    {.name = "CmdQuit", .kind = Kind::Button, .left = 3420, .top = 1890, .width = 1215, .height = 495,
     .caption = u"退出游戏", .font = font::S9_75, .tab = 7},
    {.name = "CmdHelp", .kind = Kind::Button, .left = 225, .top = 1905, .width = 1215, .height = 495,
     .caption = u"教你玩", .font = font::S9_75, .tab = 4},
    {.name = "TxtUserId", .kind = Kind::TextBox, .left = 1710, .top = 1440, .width = 1500, .height = 360,
     .caption = u"glintora", .font = font::S9_75, .maxLength = 20, .tab = 0, .said = u"用户名"},
    {.name = "CmdStart", .kind = Kind::Button, .left = 1575, .top = 1905, .width = 1695, .height = 495,
     .caption = u"开始接受考验", .font = font::S9_75B, .tab = 1},
    {.name = "Label3", .kind = Kind::Label, .left = 15, .top = 2835, .width = 4710, .height = 540,
     .font = font::S9_75, .fore = Colour::Lavender, .back = Colour::Green, .tab = 8},
    {.name = "Label1", .kind = Kind::Label, .left = 1395, .top = 2550, .width = 1755, .height = 240,
     .caption = u"到星澜小站升级", .font = font::S9_75, .fore = Colour::LinkBlue, .back = Colour::Green,
     .flags = Link | FitsText, .tab = 6},
    {.name = "Label4", .kind = Kind::Label, .left = 3540, .top = 2550, .width = 975, .height = 240,
     .caption = u"新用户注册", .font = font::S9_75, .fore = Colour::LinkBlue, .back = Colour::Green,
     .flags = Link | FitsText, .tab = 5},
    {.name = "Label2", .kind = Kind::Label, .left = 705, .top = 1080, .width = 4125, .height = 285,
     .caption = u"请输入你在星澜小站注册的用户名:", .font = font::S9_75, .fore = Colour::Yellow,
     .back = Colour::Green, .tab = 3},
    {.name = "Lblremark", .kind = Kind::Label, .left = 195, .top = 105, .width = 4425, .height = 645,
     .caption = u"A", .font = font::S13_5B, .fore = Colour::PaleCyan, .back = Colour::Green, .flags = Centred,
     .tab = 2},
};

WindowLayout Layout()
{
    return {.caption = QString::fromUtf16(kWindowTitle) + QStringLiteral("--星澜小站"), .width = 4800,
            .height = 3420, .back = Colour::Green, .rows = kRows,
            .description = QStringLiteral("开始：输入你在星澜小站注册的用户名，开始接受考验")};
}

} // namespace

FrmStart::Controls::Controls(const ControlSet& set)
    : ShockwaveFlash1(set.Get<AnimationPanel>("ShockwaveFlash1")),
      CmdQuit(set.Get<Button>("CmdQuit")),
      CmdHelp(set.Get<Button>("CmdHelp")),
      TxtUserId(set.Get<TextBox>("TxtUserId")),
      CmdStart(set.Get<Button>("CmdStart")),
      Label3(set.Get<Label>("Label3")),
      Label1(set.Get<Label>("Label1")),
      Label4(set.Get<Label>("Label4")),
      Lblremark(set.Get<Label>("Lblremark"))
{
}

FrmStart::FrmStart(Screens& screens) : Screen(screens, kId, Layout()), ui_(controls()) {}

void FrmStart::Form_Load()
{
    // Each step runs whatever the one before it managed.
    services().bank.OpenDatabase();
    ui_.Lblremark->SetCaption(QStringLiteral("问鼎五关\r接受全球澜迷大考验"));
    services().bank.FixQuestionCounts();
    ui_.ShockwaveFlash1->SetMovie(MoviePath("bantou.swf"));
    ui_.Label3->SetCaption(site::Credits());

    connect(ui_.CmdStart, &QPushButton::clicked, this, &FrmStart::CmdStart_Click);
    connect(ui_.CmdHelp, &QPushButton::clicked, this, &FrmStart::CmdHelp_Click);
    connect(ui_.CmdQuit, &QPushButton::clicked, this, &FrmStart::CmdQuit_Click);
    connect(ui_.Label1, &Label::Clicked, this, &FrmStart::Label1_Click);
    connect(ui_.Label4, &Label::Clicked, this, &FrmStart::Label4_Click);
    connect(ui_.TxtUserId, &TextBox::EnterPressed, this, &FrmStart::CmdStart_Click);
}

void FrmStart::Form_Unload() { services().bank.CloseQuestionBank(); }

void FrmStart::CmdStart_Click()
{
    TextBox* id = ui_.TxtUserId;
    const QString typed = id->text();
    qsizetype begin = 0, end = typed.size();
    while (begin < end && typed[begin] == u' ') ++begin;
    while (end > begin && typed[end - 1] == u' ') --end;
    if (begin == end) {
        Ask(MessageId::EnterUserId);
        id->setFocus();
        return;
    }
    // A file that could not be played from is tried again: the other program
    // may have let it go, the file may be back. A run that could not draw a
    // single question is never started.
    if (!services().bank.Usable()) services().bank.OpenDatabase();
    if (!services().bank.Usable()) {
        Tell(services().bank.ProblemText());
        id->setFocus();
        return;
    }
    services().session.StartGame(typed);
    screens().Show(ScreenId::Frmmain);
    if (Frmmain* quiz = screens().IfLoaded<Frmmain>()) quiz->ShowStartButton();
    screens().Hide(kId);
}

void FrmStart::CmdHelp_Click()
{
    screens().ShowModal(ScreenId::FrmHelp);
}

void FrmStart::CmdQuit_Click() { screens().EndProgram(); }

void FrmStart::Form_CloseBox() { screens().EndProgram(); }

void FrmStart::Label1_Click()
{
    pages_.Open(site::HomeAddress());
    ui_.Label1->SetCaption(QStringLiteral("到星澜小站升级"));
}

void FrmStart::Label4_Click()
{
    pages_.Open(site::RegisterAddress());
    ui_.Label4->SetCaption(QStringLiteral("新用户注册"));
}

} // namespace wd
