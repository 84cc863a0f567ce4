// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/quiz/Frmmain.h"

#include <string>

#include "game/Checked.h"
#include "game/Module1.h"
#include "game/Rules.h"
#include "game/Site.h"
#include "ui/ControlSet.h"
#include "ui/Messages.h"
#include "ui/QuestionBox.h"
#include "ui/Screens.h"
#include "ui/Titles.h"

namespace wd {

namespace {

using namespace ctl;

constexpr const char16_t* kSlotNames[] = {u"第1题", u"第2题", u"第3题", u"第4题", u"第5题"};
constexpr const char16_t* kEasyNames[] = {u"拣手题1", u"拣手题2", u"拣手题3"};

constexpr Row Slot(int index, int left, const char16_t* caption, int tab)
{
    return {.name = "Lblque", .index = index, .kind = Kind::Label, .in = "Frame1", .left = left, .top = 180,
            .width = 270, .height = 300, .caption = caption, .font = font::S12B, .fore = Colour::LightCyan,
            .back = Colour::BoxBlue, .tab = tab, .said = kSlotNames[index]};
}

constexpr Row EasyMark(int index, int left, int tab)
{
    return {.name = "LblEasy", .index = index, .kind = Kind::Label, .in = "Frame2", .left = left, .top = 165,
            .width = 270, .height = 300, .caption = u"→", .font = font::S12B, .fore = Colour::PaleCyan,
            .back = Colour::BoxBlue, .tab = tab, .said = kEasyNames[index]};
}

constexpr Row NavyBox(const char* name, int left, int width, const char16_t* caption, int tab, const char16_t* said)
{
    return {.name = name, .kind = Kind::Label, .in = "Framain", .left = left, .top = 270, .width = width,
            .height = 285, .caption = caption, .font = font::S9_75B, .fore = Colour::PaleCyan,
            .back = Colour::Navy, .flags = Centred, .tab = tab, .said = said};
}

const Row kRows[] = {
    {.name = "SwfBackground", .kind = Kind::Movie, .left = 5700, .top = 3645, .width = 405, .height = 270,
     .flags = Hidden, .tab = 27, .play = AnimationPanel::Play::Off},
    {.name = "CmdStart", .kind = Kind::Button, .left = 2280, .top = 1425, .width = 2790, .height = 675,
     .caption = u"开始!", .font = font::S18B, .tab = 0},
    {.name = "Timer1", .kind = Kind::Timer, .interval = 1000},
    {.name = "CmdEasy", .kind = Kind::Button, .left = 3585, .top = 2580, .width = 1300, .height = 390,
     .caption = u"拣手题(&E)", .font = font::S9_75, .flags = Disabled, .tab = 13},
    {.name = "Cmdquit", .kind = Kind::Button, .left = 4995, .top = 3075, .width = 1125, .height = 390,
     .caption = u"退出(&Q)", .font = font::S9_75, .tab = 10},
    {.name = "CmdPass", .kind = Kind::Button, .left = 2115, .top = 2580, .width = 1365, .height = 390,
     .caption = u"&PASS", .font = font::S9_75, .flags = Disabled, .tab = 8},
    {.name = "Txtanswer", .kind = Kind::TextBox, .left = 120, .top = 3075, .width = 1920, .height = 360,
     .font = font::S9_75, .tab = 1, .said = u"答案"},
    {.name = "CmdOK", .kind = Kind::Button, .left = 2115, .top = 3075, .width = 2805, .height = 390,
     .caption = u"确定(&O)", .font = font::S9_75, .flags = Disabled, .tab = 7},
    {.name = "Frame2", .kind = Kind::Frame, .left = 4965, .top = 2460, .width = 1140, .height = 525,
     .back = Colour::Black, .tab = 5, .said = u"拣手题"},
    EasyMark(2, 780, 17),
    EasyMark(1, 435, 16),
    EasyMark(0, 105, 15),
    {.name = "Frame1", .kind = Kind::Frame, .left = 120, .top = 2460, .width = 1920, .height = 525,
     .back = Colour::Black, .tab = 4, .said = u"本关题目"},
    Slot(4, 1545, u"", 22),
    Slot(3, 1185, u"O", 21),
    Slot(2, 825, u"@", 20),
    Slot(1, 465, u"X", 19),
    Slot(0, 105, u"V", 18),
    {.name = "Framain", .kind = Kind::Frame, .left = 120, .top = 105, .width = 6015, .height = 2370,
     .caption = u"玩家\u3000                  得分\u3000                      剩余时间", .font = font::S9_75,
     .fore = Colour::BrightGreen, .back = Colour::Green, .tab = 2},
    {.name = "Frame3", .kind = Kind::Frame, .in = "Framain", .left = 4095, .top = 165, .width = 1770, .height = 585,
     .caption = u"出题者", .font = font::S9_75, .fore = Colour::LightGreen, .back = Colour::Black, .tab = 6},
    {.name = "LblProvider", .kind = Kind::Label, .in = "Frame3", .left = 135, .top = 225, .width = 1545,
     .height = 300, .caption = u"Glintora", .font = font::S9_75B, .fore = Colour::PaleCyan, .back = Colour::Green,
     .flags = Centred, .tab = 11, .said = u"出题者"},
    {.name = "Fraquestion", .kind = Kind::Frame, .in = "Framain", .left = 1125, .top = 780, .width = 4770,
     .height = 1455, .caption = u"第1关题目\u3000", .font = font::S12B, .fore = Colour::LightGreen,
     .back = Colour::Black, .tab = 3},
    kQuestionRow, // Lblquestion, which the question-file tool measures too
    {.name = "LblEasyLable", .kind = Kind::Label, .in = "Framain", .left = 330, .top = 1065, .width = 510,
     .height = 555, .caption = u"→", .font = font::S24B, .fore = Colour::PaleCyan, .back = Colour::Green,
     .flags = Hidden | FitsText, .tab = 25, .said = u"拣手题"},
    NavyBox("LblTime", 3165, 630, u"240", 24, u"剩余时间"),
    NavyBox("LblPlayscore", 1530, 1515, u"0", 23, u"得分"),
    {.name = "LblNo", .kind = Kind::Label, .in = "Framain", .left = 465, .top = 1080, .width = 270, .height = 555,
     .caption = u"1", .font = font::S24B, .fore = Colour::PaleCyan, .back = Colour::Green, .flags = FitsText,
     .tab = 14, .said = u"题号"},
    NavyBox("LblPlayer", 75, 1380, u"Glintora", 12, u"玩家"),
    {.name = "Shape1", .kind = Kind::Shape, .in = "Framain", .left = 135, .top = 840, .width = 945, .height = 975,
     .fore = Colour::BrightGreen, .said = u"题号框"},
    {.name = "Label3", .kind = Kind::Label, .left = 30, .top = 3540, .width = 6165, .height = 540,
     .font = font::S9_75, .fore = Colour::Cyan, .back = Colour::Green, .tab = 26},
};

WindowLayout Layout()
{
    return {.caption = QString::fromUtf16(kWindowTitle), .width = 6240, .height = 4050, .back = Colour::Black,
            .rows = kRows,
            .description = QStringLiteral("答题：在答案框里填上题目的答案，按确定作答；"
                                          "可以PASS换题或用拣手题，全程限时240秒")};
}

} // namespace

Frmmain::Controls::Controls(const ControlSet& set)
    : SwfBackground(set.Get<AnimationPanel>("SwfBackground")),
      CmdStart(set.Get<Button>("CmdStart")),
      Timer1(set.Get<QTimer>("Timer1")),
      CmdEasy(set.Get<Button>("CmdEasy")),
      Cmdquit(set.Get<Button>("Cmdquit")),
      CmdPass(set.Get<Button>("CmdPass")),
      Txtanswer(set.Get<TextBox>("Txtanswer")),
      CmdOK(set.Get<Button>("CmdOK")),
      LblEasy(set.GetArray<Label, rules::kEasyPerRun>("LblEasy")),
      Lblque(set.GetArray<Label, rules::kLevels>("Lblque")),
      LblProvider(set.Get<Label>("LblProvider")),
      Fraquestion(set.Get<Frame>("Fraquestion")),
      Lblquestion(set.Get<Label>(kQuestionRow.name)),
      LblEasyLable(set.Get<Label>("LblEasyLable")),
      LblTime(set.Get<Label>("LblTime")),
      LblPlayscore(set.Get<Label>("LblPlayscore")),
      LblNo(set.Get<Label>("LblNo")),
      LblPlayer(set.Get<Label>("LblPlayer")),
      Label3(set.Get<Label>("Label3"))
{
}

Frmmain::Frmmain(Screens& screens) : Screen(screens, kId, Layout()), ui_(controls()) {}

void Frmmain::Form_Load()
{
    Module1& m = services().session;
    clock_ = GameClock(m.TimeLeft);
    ShowClock();
    ui_.LblPlayer->SetCaption(m.PlayerId);
    ui_.LblProvider->SetCaption(QString());
    ui_.Lblque[0]->SetCaption(QStringLiteral("O"));
    for (int i = 1; i < rules::kLevels; ++i) ui_.Lblque[i]->SetCaption(QString());
    m.QuizLoaded();
    ui_.Label3->SetCaption(site::Credits());

    connect(ui_.CmdStart, &QPushButton::clicked, this, &Frmmain::CmdStart_Click);
    connect(ui_.CmdOK, &QPushButton::clicked, this, &Frmmain::CmdOK_Click);
    connect(ui_.CmdPass, &QPushButton::clicked, this, &Frmmain::CmdPass_Click);
    connect(ui_.CmdEasy, &QPushButton::clicked, this, &Frmmain::CmdEasy_Click);
    connect(ui_.Cmdquit, &QPushButton::clicked, this, &Frmmain::Cmdquit_Click);
    connect(ui_.Timer1, &QTimer::timeout, this, &Frmmain::Timer1_Timer);
    // Enter in the answer box answers, once the OK button is enabled.
    connect(ui_.Txtanswer, &TextBox::EnterPressed, this, [this] {
        if (ui_.CmdOK->isEnabled()) CmdOK_Click();
    });
}

void Frmmain::EnableAnswerButtons(bool enabled)
{
    ui_.CmdPass->setEnabled(enabled);
    ui_.CmdOK->setEnabled(enabled);
    ui_.CmdEasy->setEnabled(enabled);
}

void Frmmain::ShowQuestion(const QuestionRecord& question)
{
    ui_.LblProvider->SetCaption(question.providers);
    ui_.Lblquestion->SetCaption(question.quest);
}

bool Frmmain::Draw(std::optional<QuestionRecord> question)
{
    if (question) {
        ShowQuestion(*question);
        return true;
    }
    QuestionFileFailed();
    return false;
}

void Frmmain::QuestionFileFailed()
{
    // The question on screen is no longer the one whose answer counts: take
    // it away so that nothing more can be answered.
    ui_.Timer1->stop();
    EnableAnswerButtons(false);
    ui_.Lblquestion->SetCaption(QString());
    ui_.LblProvider->SetCaption(QString());
    ui_.SwfBackground->SetMovie(QString());
    Tell(services().bank.DrawFailureText());
    if (!IsLoaded()) return;
    if (services().session.HoldsNoScore()) {
        BackToStart();
        return;
    }
    screens().Show(ScreenId::FrmSaveMoney);
    screens().Unload(kId);
}

void Frmmain::ShowClock()
{
    ui_.LblTime->SetCaption(QString::number(clock_.SecondsLeft()));
    ui_.LblTime->SetForeColor(ToQColor(clock_.Warning() ? Colour::Red : Colour::PaleCyan));
}

void Frmmain::ShowQuestionNo() { ui_.LblNo->SetCaption(QString::number(questionNo_)); }

void Frmmain::ShowStartButton() { ui_.CmdStart->show(); }

void Frmmain::BeginLevel(bool newRun)
{
    const Module1& m = services().session;
    clock_.BeginLevel(newRun);
    ShowClock();
    if (newRun) ui_.CmdEasy->setEnabled(true);
    const int level = m.Level;

    // An "O" for each question of the level; the empty slots are its passes.
    for (int i = 0; i < rules::kLevels; ++i) {
        Label* slot = ui_.Lblque[i];
        slot->SetBackColor(ToQColor(Colour::BoxBlue));
        slot->SetCaption(i < level ? QStringLiteral("O") : QString());
    }
    // The banked runs plus the stake the cleared levels of this run have earned.
    const std::int32_t score =
        clampTo<std::int32_t>(static_cast<long long>(m.BankedScore()) + StakeForFailedLevel(level));
    ui_.LblPlayscore->SetCaption(QString::number(score));
    ui_.CmdPass->setEnabled(level < rules::kLevels);
    ShowEasyMarks(ui_.LblEasy, m.EasyLeft);
    ui_.LblProvider->SetCaption(QString());
    questionNo_ = 1;
    ShowQuestionNo();
    ui_.LblEasyLable->hide();
    ui_.Fraquestion->SetCaption(QStringLiteral("第%1 关题目\u3000").arg(level));
    ui_.Timer1->start();
    screens().Show(kId);
    if (!Draw(services().bank.DrawNextQuestion())) return; // the run has ended
    ui_.SwfBackground->SetMovie(MoviePath(std::to_string(level) + ".swf"));
}

void Frmmain::CmdStart_Click()
{
    EnableAnswerButtons(true);
    ui_.CmdStart->hide();
    ui_.Txtanswer->setFocus();
    ui_.Timer1->start();
    if (!Draw(services().bank.DrawFirstQuestion())) return;
    ui_.SwfBackground->SetMovie(MoviePath("1.swf"));
}

void Frmmain::CmdOK_Click()
{
    const Module1& m = services().session;
    if (AnswerMatches(m.CorrectAnswer, ui_.Txtanswer->text()))
        RightAnswer();
    else
        WrongAnswer();
}

void Frmmain::RightAnswer()
{
    Module1& m = services().session;
    const bool cleared = m.RightAnswer();
    const int slot = m.Level - 1 - m.QuestionsLeft;
    if (m.Level >= 1 && m.Level <= rules::kLevels && slot >= 0 && slot < m.Level)
        ui_.Lblque[slot]->SetCaption(QStringLiteral("V"));

    if (!cleared) {
        if (!Draw(services().bank.DrawNextQuestion())) return;
        ui_.Txtanswer->clear();
        ui_.LblEasyLable->hide();
        ++questionNo_;
        ShowQuestionNo();
        return;
    }
    // The level is cleared: the stake is already set from the ladder.
    ui_.SwfBackground->SetMovie(QString());
    m.KeepTimeLeft(clock_.SecondsLeft());
    ui_.Timer1->stop();
    ui_.Txtanswer->clear();
    Ask(MessageId::LevelCleared);
    if (!IsLoaded()) return;
    screens().Show(ScreenId::FrmCountUp);
    screens().Hide(kId);
}

void Frmmain::WrongAnswer()
{
    Module1& m = services().session;
    ui_.Timer1->stop();
    ui_.Txtanswer->clear();
    ui_.SwfBackground->SetMovie(QString());
    const bool nothingGained = m.HoldsNoScore();
    Ask(nothingGained ? MessageId::WrongNoScore : MessageId::WrongAnswer, m.CorrectAnswer);
    if (!IsLoaded()) return;
    if (nothingGained) {
        BackToStart();
        return;
    }
    m.WrongAnswer();
    LoseStakeOrSave();
}

void Frmmain::LoseStakeOrSave()
{
    if (services().session.StakeScore != 0) {
        screens().ShowModal(ScreenId::FrmExplosion);
        // Playing again from the score-saving screen has unloaded it already.
        if (IsLoaded()) screens().Unload(kId);
    } else {
        // The quiz screen stays loaded beneath the score-saving screen.
        screens().ShowModal(ScreenId::FrmSaveMoney);
    }
}

void Frmmain::BackToStart()
{
    screens().Show(ScreenId::FrmStart);
    screens().Unload(kId);
}

void Frmmain::CmdPass_Click()
{
    Module1& m = services().session;
    ui_.Txtanswer->clear();
    if (m.Level >= 1 && m.Level <= 4) {
        const int slot = rules::kLevels - m.PassesLeft;
        if (slot >= 0 && slot < rules::kLevels)
            ui_.Lblque[slot]->SetBackColor(ToQColor(Colour::PaleCyan));
    }
    if (m.UsePass() <= 0) ui_.CmdPass->setEnabled(false);
    Draw(services().bank.DrawNextQuestion());
}

void Frmmain::CmdEasy_Click()
{
    Module1& m = services().session;
    ui_.Txtanswer->clear();
    ui_.LblEasyLable->show();
    if (m.UseEasy() <= 0) ui_.CmdEasy->setEnabled(false);
    ShowEasyMarks(ui_.LblEasy, m.EasyLeft);
    Draw(services().bank.DrawEasyQuestion());
}

void Frmmain::Cmdquit_Click()
{
    // The clock runs on while the question is open. Should the time run out
    // meanwhile, the question closes as if answered Cancel.
    if (Ask(MessageId::ConfirmLeave) == Answer::Ok) screens().EndProgram();
}

void Frmmain::Form_CloseBox() { Cmdquit_Click(); }

void Frmmain::Timer1_Timer()
{
    const bool timeUp = clock_.Tick();
    ShowClock();
    if (!timeUp) return;

    // Time is up; the stake in force stays the stake. The run is over, so a
    // quit question still open closes as if answered Cancel.
    ui_.Timer1->stop();
    services().messages.Dismiss(this);
    const Module1& m = services().session;
    const bool nothingGained = m.HoldsNoScore();
    Ask(nothingGained ? MessageId::TimeUpNoScore : MessageId::TimeUpWithScore, m.CorrectAnswer);
    if (!IsLoaded()) return;
    if (nothingGained)
        BackToStart();
    else
        LoseStakeOrSave();
}

} // namespace wd
