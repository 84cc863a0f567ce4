// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/entry/FrmSaveMoney.h"

#include <utility>

#include "game/Module1.h"
#include "game/ScoreAddress.h"
#include "game/Site.h"
#include "screens/SitePages.h"
#include "ui/Messages.h"
#include "ui/Screens.h"
#include "ui/Titles.h"

namespace wd {

namespace {

using namespace ctl;

constexpr char16_t kUploadCaption[] = u"保存我的分数";
constexpr char16_t kRegisterCaption[] = u"新用户注册";

const Row kRows[] = {
    {.name = "CmdExit", .kind = Kind::Button, .left = 2775, .top = 2970, .width = 2100, .height = 360,
     .caption = u"退出游戏", .tab = 9},
    {.name = "CmdQuit", .kind = Kind::Button, .left = 2775, .top = 2580, .width = 2100, .height = 360,
     .caption = u"再玩一次", .tab = 3},
    {.name = "TxtPassword", .kind = Kind::TextBox, .left = 3360, .top = 2070, .width = 1500, .height = 360,
     .font = font::S9_75, .flags = Masked, .maxLength = 10, .tab = 1, .said = u"密码"},
    {.name = "TxtUserId", .kind = Kind::TextBox, .left = 885, .top = 2070, .width = 1500, .height = 360,
     .font = font::S9_75, .maxLength = 20, .tab = 0, .said = u"用户名"},
    {.name = "LblProviderScore", .kind = Kind::Label, .left = 975, .top = 465, .width = 2775, .height = 300,
     .caption = u"你总共获得分数:100000", .font = font::S12B, .fore = Colour::PaleCyan, .back = Colour::Navy,
     .flags = FitsText, .tab = 10},
    {.name = "LblTotal", .kind = Kind::Label, .left = 975, .top = 90, .width = 2775, .height = 300,
     .caption = u"你总共获得分数:100000", .font = font::S12B, .fore = Colour::PaleCyan, .back = Colour::Red,
     .flags = FitsText, .tab = 8},
    {.name = "Label4", .kind = Kind::Label, .left = 1560, .top = 2625, .width = 975, .height = 240,
     .caption = kRegisterCaption, .font = font::S9_75, .fore = Colour::LinkBlue, .back = Colour::Green,
     .flags = Link | FitsText, .tab = 4},
    {.name = "Label3", .kind = Kind::Label, .left = 2775, .top = 2145, .width = 855, .height = 285,
     .caption = u"密码:", .font = font::S9_75, .fore = Colour::Yellow, .back = Colour::Green, .tab = 7},
    {.name = "Label2", .kind = Kind::Label, .left = 90, .top = 2130, .width = 855, .height = 285,
     .caption = u"用户名:", .font = font::S9_75, .fore = Colour::Yellow, .back = Colour::Green, .tab = 6},
    {.name = "Lblremark", .kind = Kind::Label, .left = 135, .top = 810, .width = 4710, .height = 1230,
     .caption = u"A", .font = font::S9_75, .fore = Colour::HighlightText, .back = Colour::Green, .tab = 5},
    {.name = "Label1", .kind = Kind::Label, .left = 120, .top = 2625, .width = 1170, .height = 240,
     .caption = kUploadCaption, .font = font::S9_75, .fore = Colour::LinkBlue, .back = Colour::Green,
     .flags = Link | FitsText, .tab = 2},
};

WindowLayout Layout()
{
    return {.caption = QString::fromUtf16(kWindowTitle) + QStringLiteral("--保存分数"), .width = 4950,
            .height = 3360, .back = Colour::Green, .rows = kRows,
            .description = QStringLiteral("保存分数：输入星澜小站的用户名和密码，把这次的分数存到网站上")};
}

} // namespace

FrmSaveMoney::Controls::Controls(const ControlSet& set)
    : CmdExit(set.Get<Button>("CmdExit")),
      CmdQuit(set.Get<Button>("CmdQuit")),
      TxtPassword(set.Get<TextBox>("TxtPassword")),
      TxtUserId(set.Get<TextBox>("TxtUserId")),
      LblProviderScore(set.Get<Label>("LblProviderScore")),
      LblTotal(set.Get<Label>("LblTotal")),
      Label4(set.Get<Label>("Label4")),
      Lblremark(set.Get<Label>("Lblremark")),
      Label1(set.Get<Label>("Label1"))
{
}

FrmSaveMoney::FrmSaveMoney(Screens& screens) : Screen(screens, kId, Layout()), ui_(controls()) {}

QString FrmSaveMoney::RemarkText()
{
    // A full-width opening parenthesis and an ASCII closing one, as the game has always shown it.
    return QStringLiteral("辛苦啦!请输入你在星澜小站注册的用户名和密码,登录星澜小站保存你获得的分数.祝你好运"
                          "（请确认你现在已经连接Internet,否则你所得到的分数不能保存到网站的数据库)");
}

void FrmSaveMoney::Form_Load()
{
    const Module1& m = services().session;
    ui_.Lblremark->SetCaption(RemarkText());
    ui_.TxtUserId->setText(m.PlayerId);
    // Only the label shows the total; the stake is folded in by the upload.
    ui_.LblTotal->SetCaption(QStringLiteral("你总共获得分数\u3000") + QString::number(m.TotalScore()));
    if (m.ProviderScore == 0) ui_.LblProviderScore->hide();
    ui_.LblProviderScore->SetCaption(m.ProviderName + QStringLiteral("获得\u3000")
                                          + QString::number(m.ProviderScore));

    connect(ui_.Label1, &Label::Clicked, this, &FrmSaveMoney::Label1_Click);
    connect(ui_.Label4, &Label::Clicked, this, &FrmSaveMoney::Label4_Click);
    connect(ui_.CmdQuit, &QPushButton::clicked, this, &FrmSaveMoney::CmdQuit_Click);
    connect(ui_.CmdExit, &QPushButton::clicked, this, &FrmSaveMoney::CmdExit_Click);
}

// The figures are spent only once the page is on its way. While the launch
// is undecided a second press sends nothing; a failure keeps the figures for
// another try and tells the player (PageRequests).
void FrmSaveMoney::Label1_Click()
{
    ui_.Label1->SetCaption(QString::fromUtf16(kUploadCaption));
    if (uploading_) return;
    Module1& m = services().session;
    m.UploadAs(ui_.TxtUserId->text(), ui_.TxtPassword->text());
    uploading_ = true;
    pages_.Open(ScoreUploadAddress({.userId = m.PlayerId,
                                    .password = m.PlayerPassword,
                                    .playerCash = m.TotalScore(),
                                    .provider = m.ProviderName,
                                    .providerCash = m.ProviderScore}),
                [this](bool opened) {
                    uploading_ = false;
                    const Leave how = std::exchange(leaving_, Leave::No);
                    if (!opened) return; // the player is told and stays
                    services().session.ScoreUploaded();
                    LeaveBy(how);
                });
}

void FrmSaveMoney::Label4_Click()
{
    pages_.Open(site::RegisterAddress());
    ui_.Label4->SetCaption(QString::fromUtf16(kRegisterCaption));
}

void FrmSaveMoney::CmdQuit_Click()
{
    if (leaving_ == Leave::No && Ask(MessageId::ConfirmSaved) == Answer::Ok) LeaveBy(Leave::PlayAgain);
}

void FrmSaveMoney::CmdExit_Click()
{
    if (leaving_ == Leave::No && Ask(MessageId::ConfirmQuit) == Answer::Ok) LeaveBy(Leave::Quit);
}

// The close box asks as the quit button does: closing the window alone would
// leave the player before a quiz screen whose game is over.
void FrmSaveMoney::Form_CloseBox() { CmdExit_Click(); }

void FrmSaveMoney::LeaveBy(Leave how)
{
    if (how == Leave::No) return;
    if (uploading_) {
        // Leaving now would drop the launch's answer (and quitting would end
        // the opener itself): the screen goes once the page is on its way, or
        // stays and tells the player if no browser took it.
        leaving_ = how;
        return;
    }
    if (how == Leave::Quit) {
        screens().EndProgram();
        return;
    }
    // Each step stands alone: one with nothing to do (the quiz screen already
    // gone, say) leaves the next to run. The start screen comes back as it was
    // left, its id box included.
    screens().Unload(kId);
    services().session.PlayAgain();
    screens().Unload(ScreenId::Frmmain);
    screens().Show(ScreenId::FrmStart);
}

} // namespace wd
