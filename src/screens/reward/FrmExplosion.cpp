#include "screens/reward/FrmExplosion.h"

#include "game/Explosion.h"
#include "game/Module1.h"
#include "platform/AppPaths.h"
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

QString MoviePath(const char* name) { return QString::fromStdString(MovieFile(name).string()); }

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
    count_ = 0;
    ui_.LblScore->SetCaption(QString::number(count_));
    KeptScore = m.StakeScore;
    ui_.Label2->SetCaption(QStringLiteral("你目前获得的分数:\r%1").arg(m.StakeScore));
    ui_.SwfBackground->SetMovie(MoviePath("explore.swf"));

    for (int i = 0; i < explosion::kButtons; ++i)
        connect(ui_.CmdNum[i], &QPushButton::clicked, this, [this, i] { CmdNum_Click(i); });
    connect(ui_.CmdStop, &QPushButton::clicked, this, &FrmExplosion::CmdStop_Click);
    connect(ui_.Timer1, &QTimer::timeout, this, &FrmExplosion::Timer1_Timer);
}

bool FrmExplosion::Ended() const { return ui_.CmdStop->text() == QStringView(kContinue); }

void FrmExplosion::CmdNum_Click(int index)
{
    const std::int32_t stake = services().session.StakeScore;
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
    if (SafeIndex == index)
        ExplodeAt = explosion::NeverExplodes(stake);
    else
        ExplodeAt = explosion::ExplodePoint(explosion::ExplodePercentFor(random.Next()), stake);
    ui_.CmdStop->setFocus();
    Stopped = false;
}

void FrmExplosion::Timer1_Timer()
{
    Module1& m = services().session;
    RandomSource& random = services().random;
    QTimer* timer1 = ui_.Timer1;

    random.Reseed();
    timer1->setInterval(explosion::TickIntervalFor(random.Next()));

    explosion::Gamble g{.count = count_, .StakeScore = m.StakeScore, .ProviderScore = m.ProviderScore,
                        .KeptScore = KeptScore, .ExplodeAt = ExplodeAt, .Stopped = Stopped};
    const explosion::TickEnd end = explosion::Tick(g);
    m.StakeScore = g.StakeScore;
    m.ProviderScore = g.ProviderScore;
    Stopped = g.Stopped;
    count_ = g.count;

    Label* score = ui_.LblScore;
    score->SetCaption(QString::number(g.count));
    if (end == explosion::TickEnd::Running) return;
    if (end == explosion::TickEnd::Exploded) {
        score->SetBackColor(ToQColor(Colour::Red));
        score->SetCaption(QString::fromUtf16(kExploded));
    }
    timer1->stop();
    ui_.CmdStop->setEnabled(true);
    ui_.CmdStop->SetCaption(QString::fromUtf16(kContinue));
}

void FrmExplosion::CmdStop_Click()
{
    if (Ended()) {
        Leave();
        return;
    }
    Module1& m = services().session;
    const std::int32_t count = Count();
    Stopped = true;
    ui_.CmdStop->setEnabled(false);
    m.ProviderScore = m.StakeScore - count;
    ui_.Timer1->stop();
    const Answer answer = Ask(MessageId::AskWhenExplode);
    if (!IsLoaded()) return;
    if (answer == Answer::Cancel) {
        m.StakeScore = count;
        Leave();
        return;
    }
    KeptScore = count;
    ui_.Timer1->start(); // with the interval it had
}

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
