#include "screens/reward/FrmCountUp.h"

#include "game/Checked.h"
#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "game/Rules.h"
#include "platform/AppPaths.h"
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

QString MoviePath(const std::string& name) { return QString::fromStdString(MovieFile(name.c_str()).string()); }

} // namespace

FrmCountUp::FrmCountUp(Screens& screens) : Screen(screens, kId, Layout()) {}

void FrmCountUp::Form_Load()
{
    const Module1& m = services().session;
    label("Label1")->SetCaption(QStringLiteral("第%1关成绩").arg(m.Level));
    if (m.ClearCount > 0) {
        label("LblFixScore")->show();
        label("LblFixScore")->SetCaption(QString::number(m.BankedScore()));
    }
    label("LblScore")->SetCaption(QString::number(m.StakeScore));
    label("LblRemainTime")->SetCaption(QString::number(m.TimeLeft));
    const auto marks = EasyMarks(m.EasyLeft);
    for (int i = 0; i < 3; ++i) label("LblEasy", i)->SetCaption(marks[static_cast<std::size_t>(i)]);
    movie("ShockwaveFlash1")->SetMovie(MoviePath("noend.swf"));

    connect(button("OKButton"), &QPushButton::clicked, this, &FrmCountUp::OKButton_Click);
    connect(button("CancelButton"), &QPushButton::clicked, this, &FrmCountUp::CancelButton_Click);
}

void FrmCountUp::OKButton_Click()
{
    // The window goes first; everything below works on the quiz screen and the
    // session, which outlive it.
    Screens& all = screens();
    Module1& m = services().session;
    QuestionBank& bank = services().bank;
    all.Unload(kId);

    Frmmain& quiz = all.Get<Frmmain>();
    if (m.BeginNextLevel()) {
        Label* time = quiz.label("LblTime");
        time->SetCaption(QString::number(rules::kClockSeconds));
        time->SetForeColor(ToQColor(Colour::PaleCyan)); // undoes the clock's warning colour
        quiz.button("CmdEasy")->setEnabled(true);
    }
    const int level = m.Level;

    // An "O" for each question of the level; the empty slots are its passes.
    for (int i = 0; i < rules::kLevels; ++i) {
        Label* slot = quiz.label("Lblque", i);
        slot->SetBackColor(ToQColor(Colour::BoxBlue));
        slot->SetCaption(i < level ? QStringLiteral("O") : QString());
    }
    // The banked runs plus the stake the cleared levels of this run have earned.
    const std::int32_t score =
        clampTo<std::int32_t>(static_cast<long long>(m.BankedScore()) + StakeForFailedLevel(level));
    quiz.label("LblPlayscore")->SetCaption(QString::number(score));
    quiz.button("CmdPass")->setEnabled(level < rules::kLevels);
    quiz.ShowEasyMarks(m.EasyLeft);
    quiz.label("LblProvider")->SetCaption(QString());
    quiz.label("LblNo")->SetCaption(QStringLiteral("1"));
    quiz.label("LblEasyLable")->hide();
    quiz.frame("Fraquestion")->SetCaption(QStringLiteral("第%1 关题目\u3000").arg(level));
    quiz.timer("Timer1")->start();
    all.Show(Frmmain::kId);
    if (!quiz.Draw(bank.DrawNextQuestion())) return; // the run has ended
    quiz.movie("SwfBackground")->SetMovie(MoviePath(std::to_string(level) + ".swf"));
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
