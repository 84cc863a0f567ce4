// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/reward/FrmExplosion.h"

#include "game/Explosion.h"
#include "game/Module1.h"
#include "platform/Random.h"
#include "ui/Messages.h"
#include "ui/Screens.h"
#include "ui/Titles.h"

namespace wd {

namespace {

using namespace ctl;

constexpr char16_t kContinue[] = u"继续";
constexpr char16_t kExploded[] = u"爆";

constexpr Row Pick(int index, int left, const char16_t* caption)
{
    return {.name = "CmdNum", .index = index, .kind = Kind::Button, .left = left, .top = 150, .width = 500,
            .height = 495, .caption = caption, .font = font::S13_5B, .tab = index};
}

const Row kRows[] = {
    {.name = "SwfBackground", .kind = Kind::Movie, .left = 3900, .top = 465, .width = 315, .height = 375,
     .flags = Hidden, .tab = 6, .play = AnimationPanel::Play::On},
    {.name = "CmdStop", .kind = Kind::Button, .left = 330, .top = 2550, .width = 3510, .height = 495,
     .caption = u"&Stop!!!", .font = font::S18, .flags = Disabled, .tab = 3},
    Pick(2, 2820, u"3"),
    Pick(1, 1800, u"2"),
    Pick(0, 765, u"1"),
    {.name = "Timer1", .kind = Kind::Timer, .interval = explosion::kFirstTickMs},
    {.name = "Label1", .kind = Kind::Label, .left = 780, .top = 1905, .width = 2610, .height = 435,
     .caption = u"爆煲游戏", .font = font::S18B, .fore = Colour::Yellow, .back = Colour::Red, .flags = Centred,
     .tab = 7},
    {.name = "Label2", .kind = Kind::Label, .left = 735, .top = 885, .width = 2610, .height = 750,
     .font = font::S12B, .fore = Colour::PaleGreen, .back = Colour::Navy, .flags = Centred, .tab = 5},
    {.name = "LblScore", .kind = Kind::Label, .left = 765, .top = 1905, .width = 2610, .height = 435,
     .caption = u"爆煲游戏", .font = font::S18B, .fore = Colour::PaleCyan, .back = Colour::Navy, .flags = Centred,
     .tab = 4, .said = u"计数"},
};

WindowLayout Layout()
{
    return {.caption = QString::fromUtf16(kWindowTitle) + QStringLiteral("--爆煲游戏"), .width = 4260,
            .height = 3135, .back = Colour::Green, .rows = kRows,
            .description = QStringLiteral("爆煲游戏：选一个数字，计数开始后在爆煲之前按Stop停下，"
                                          "停下时的计数就是保住的分数")};
}

} // namespace

FrmExplosion::Controls::Controls(const ControlSet& set)
    : SwfBackground(set.Get<AnimationPanel>("SwfBackground")),
      CmdStop(set.Get<Button>("CmdStop")),
      CmdNum(set.GetArray<Button, explosion::kButtons>("CmdNum")),
      Timer1(set.Get<QTimer>("Timer1")),
      Label1(set.Get<Label>("Label1")),
      Label2(set.Get<Label>("Label2")),
      LblScore(set.Get<Label>("LblScore"))
{
}

FrmExplosion::FrmExplosion(Screens& screens) : Screen(screens, kId, Layout()), ui_(controls()) {}

void FrmExplosion::Form_Load()
{
    const Module1& m = services().session;
    // The stake is what the player keeps until the counter or a stop says otherwise.
    gamble_ = {.count = 0, .StakeScore = m.StakeScore, .ProviderScore = m.ProviderScore, .KeptScore = m.StakeScore};
    ui_.LblScore->SetCaption(QString::number(gamble_.count));
    ui_.Label2->SetCaption(QStringLiteral("你目前获得的分数:\r%1").arg(m.StakeScore));
    ui_.SwfBackground->SetMovie(MoviePath("explore.swf"));

    for (int i = 0; i < explosion::kButtons; ++i)
        connect(ui_.CmdNum[i], &QPushButton::clicked, this, [this, i] { CmdNum_Click(i); });
    connect(ui_.CmdStop, &QPushButton::clicked, this, &FrmExplosion::CmdStop_Click);
    connect(ui_.Timer1, &QTimer::timeout, this, &FrmExplosion::Timer1_Timer);
}

void FrmExplosion::CmdNum_Click(int index)
{
    const std::int32_t stake = gamble_.StakeScore;
    RandomSource& random = services().random;

    ui_.SwfBackground->SetMovie(MoviePath("baobao.swf"));
    ui_.Timer1->start(); // the first tick after the interval it still has
    ui_.CmdStop->setEnabled(true);
    ui_.Label1->hide();
    for (int i = 0; i < explosion::kButtons; ++i) {
        if (i == index)
            ui_.CmdNum[i]->setEnabled(false);
        else
            ui_.CmdNum[i]->hide();
    }
    random.Reseed();
    SafeIndex = static_cast<std::int16_t>(explosion::SafeIndexFor(random.Next()));
    explosion::Pick(gamble_, SafeIndex == index
                                 ? explosion::NeverExplodes(stake)
                                 : explosion::ExplodePoint(explosion::ExplodePercentFor(random.Next()), stake));
    ui_.CmdStop->setFocus();
}

void FrmExplosion::Timer1_Timer()
{
    RandomSource& random = services().random;
    random.Reseed();
    ui_.Timer1->setInterval(explosion::TickIntervalFor(random.Next()));

    const explosion::TickEnd end = explosion::Tick(gamble_);
    Split();
    ui_.LblScore->SetCaption(QString::number(gamble_.count));
    if (end == explosion::TickEnd::Exploded) {
        ui_.LblScore->SetBackColor(ToQColor(Colour::Red));
        ui_.LblScore->SetCaption(QString::fromUtf16(kExploded));
    }
    if (!Ended()) return;
    ui_.Timer1->stop();
    ui_.CmdStop->setEnabled(true);
    ui_.CmdStop->SetCaption(QString::fromUtf16(kContinue));
}

void FrmExplosion::CmdStop_Click()
{
    if (Ended()) {
        Leave();
        return;
    }
    gamble_.Stopped = true;
    ui_.CmdStop->setEnabled(false);
    gamble_.ProviderScore = gamble_.StakeScore - gamble_.count;
    Split();
    ui_.Timer1->stop();
    const Answer answer = Ask(MessageId::AskWhenExplode);
    if (!IsLoaded()) return;
    if (answer == Answer::Cancel) {
        gamble_.StakeScore = gamble_.count;
        Split();
        Leave();
        return;
    }
    gamble_.KeptScore = gamble_.count;
    ui_.Timer1->start(); // with the interval it had
}

void FrmExplosion::Split() { services().session.SplitStake(gamble_.StakeScore, gamble_.ProviderScore); }

void FrmExplosion::Leave()
{
    Screens& all = screens();
    all.Unload(kId);
    all.ShowModal(ScreenId::FrmSaveMoney);
}

void FrmExplosion::Form_CloseBox()
{
    if (Ended()) CmdStop_Click();
}

} // namespace wd
