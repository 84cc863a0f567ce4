// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// screenshot: renders one screen of the game in one state to a PNG file,
// offscreen. A developer tool for checking layouts and for the README.
//
//   screenshot SCREEN STATE OUT.png
//   screenshot --list
//
// Each shot is a row of kShots below: a screen, a state name and the steps
// that bring the freshly shown screen into that state.
#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>

#include <QApplication>
#include <QPixmap>

#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "platform/Random.h"
#include "platform/UrlOpener.h"
#include "screens/AllScreens.h"
#include "platform/AppPaths.h"
#include "screens/entry/FrmStart.h"
#include "screens/help/FrmHelp.h"
#include "screens/quiz/Frmmain.h"
#include "screens/reward/FrmCountUp.h"
#include "screens/reward/FrmExplosion.h"
#include "ui/Messages.h"
#include "ui/Screen.h"
#include "ui/Screens.h"

namespace {

using namespace wd;

// The tool shows no message boxes and opens no pages.
class QuietMessages final : public MessageBoxes {
public:
    Answer Show(MessageId, const QString&, QWidget*) override { return Answer::Ok; }
    void Notice(const QString&, QWidget*) override {}
    void AddressNotice(const QString&, const QString&, QWidget*) override {}
    void Dismiss(const QWidget*) override {}
};
class NoPages final : public UrlOpener {
public:
    void Open(const QString&, Decided decided) override { decided(true); }
};

// The same numbers on every run, so that a shot only changes when the screen
// does: the numbers queued by a state first, then a fixed low-discrepancy
// sequence that spreads the question draws over the whole file.
class FixedRandom final : public RandomSource {
public:
    void Reseed() override {}
    float Next() override
    {
        if (!queued_.empty()) {
            const float r = queued_.front();
            queued_.pop_front();
            return r;
        }
        step_ = std::fmod(step_ + 0.6180339887, 1.0);
        return static_cast<float>(step_);
    }
    void Queue(std::initializer_list<float> numbers) { queued_.insert(queued_.end(), numbers); }

private:
    std::deque<float> queued_;
    double step_ = 0.1;
};

// The tool's own random source, reachable from the shots.
FixedRandom& Random()
{
    static FixedRandom random;
    return random;
}

struct Shot {
    const char* screen;
    const char* state;
    ScreenId id;
    std::function<void(Screens&)> setup;
};

// The score-saving screen over these figures.
void SaveScreenFor(Screens& s, int clears, int stake, const char16_t* provider, int providerScore)
{
    Module1& m = s.services().session;
    m.PlayerId = QStringLiteral("glintora");
    m.ClearCount = static_cast<std::int16_t>(clears);
    m.StakeScore = stake;
    m.ProviderName = QString::fromUtf16(provider);
    m.ProviderScore = providerScore;
    s.Show(ScreenId::FrmSaveMoney);
}

// Signs in on the start screen, as a player would.
void SignIn(Screens& s)
{
    s.Show(ScreenId::FrmStart);
    s.Get<FrmStart>().controls().Get<TextBox>("TxtUserId")->setText(QStringLiteral("glintora"));
    s.Get<FrmStart>().CmdStart_Click();
}

// The clock runs only when the shot says so: `seconds` ticks by hand.
void Tick(Frmmain& quiz, int seconds)
{
    quiz.controls().Get<QTimer>("Timer1")->stop();
    for (int i = 0; i < seconds; ++i) quiz.Timer1_Timer();
}

// Answers the question on screen rightly, as typed by the player.
void AnswerRightly(Screens& s)
{
    Frmmain& quiz = s.Get<Frmmain>();
    quiz.controls().Get<TextBox>("Txtanswer")->setText(s.services().session.CorrectAnswer);
    quiz.CmdOK_Click();
}

// Signs in, starts and clears the levels 1..`levels`, taking `secondsPerQuestion`
// over each question; the tally of the last one is on screen.
void ClearLevels(Screens& s, int levels, int secondsPerQuestion)
{
    SignIn(s);
    Frmmain& quiz = s.Get<Frmmain>();
    quiz.CmdStart_Click();
    for (int level = 1; level <= levels; ++level) {
        if (level > 1) {
            s.Get<FrmCountUp>().OKButton_Click();
            if (level == 4) quiz.CmdEasy_Click(); // one easy chance used on the way
        }
        for (int question = 0; question < level; ++question) {
            Tick(quiz, secondsPerQuestion);
            AnswerRightly(s);
        }
    }
}

// A failed run with this stake in the gamble; the player has not picked yet.
void GambleFor(Screens& s, int clears, int stake)
{
    Module1& m = s.services().session;
    m.PlayerId = QStringLiteral("glintora");
    m.ClearCount = static_cast<std::int16_t>(clears);
    m.StakeScore = stake;
    m.ProviderName = QStringLiteral("Kessa");
    m.ProviderScore = 0;
    s.Show(ScreenId::FrmExplosion);
}

// Runs the gamble's counter for `ticks` steps, or until it ends.
void Count(FrmExplosion& gamble, int ticks)
{
    for (int i = 0; i < ticks && !gamble.Ended(); ++i) gamble.Timer1_Timer();
    gamble.controls().Get<QTimer>("Timer1")->stop();
}

const Shot kShots[] = {
    {"help", "rules", ScreenId::FrmHelp, [](Screens& s) { s.Show(ScreenId::FrmHelp); }},
    {"help", "examples", ScreenId::FrmHelp,
     [](Screens& s) {
         s.Show(ScreenId::FrmHelp);
         s.Get<FrmHelp>().Command2_Click();
     }},
    {"start", "idle", ScreenId::FrmStart, [](Screens& s) { s.Show(ScreenId::FrmStart); }},
    {"quiz", "waiting", ScreenId::Frmmain, SignIn},
    // Level 3: the first question answered, a pass used on the second, the
    // player typing.
    {"quiz", "playing", ScreenId::Frmmain,
     [](Screens& s) {
         ClearLevels(s, 2, 12);
         s.Get<FrmCountUp>().OKButton_Click();
         Frmmain& quiz = s.Get<Frmmain>();
         Tick(quiz, 14);
         AnswerRightly(s);
         Tick(quiz, 20);
         quiz.CmdPass_Click();
         Tick(quiz, 6);
         quiz.controls().Get<TextBox>("Txtanswer")->setText(s.services().session.CorrectAnswer.left(1));
     }},
    {"quiz", "red-clock", ScreenId::Frmmain,
     [](Screens& s) {
         SignIn(s);
         Frmmain& quiz = s.Get<Frmmain>();
         quiz.CmdStart_Click();
         Tick(quiz, 215);
     }},
    {"tally", "level5", ScreenId::FrmCountUp, [](Screens& s) { ClearLevels(s, 5, 9); }},
    {"gamble", "choosing", ScreenId::FrmExplosion, [](Screens& s) { GambleFor(s, 1, 20000); }},
    // The middle button, which is safe; the counter has climbed to 4000.
    {"gamble", "counting", ScreenId::FrmExplosion,
     [](Screens& s) {
         GambleFor(s, 1, 20000);
         FrmExplosion& gamble = s.Get<FrmExplosion>();
         Random().Queue({0.5f});
         gamble.CmdNum_Click(1);
         Count(gamble, 8);
     }},
    // The first button, the safe one being the third: it goes off at 40 %.
    {"gamble", "exploded", ScreenId::FrmExplosion,
     [](Screens& s) {
         GambleFor(s, 0, 10000);
         FrmExplosion& gamble = s.Get<FrmExplosion>();
         Random().Queue({0.9f, 0.0f});
         gamble.CmdNum_Click(0);
         Count(gamble, 100);
     }},
    {"savemoney", "provider", ScreenId::FrmSaveMoney, [](Screens& s) { SaveScreenFor(s, 1, 20000, u"Kessa", 5000); }},
    {"savemoney", "banked", ScreenId::FrmSaveMoney, [](Screens& s) { SaveScreenFor(s, 2, 0, u"Kessa", 0); }},
};

int Usage()
{
    std::fprintf(stderr, "usage: screenshot SCREEN STATE OUT.png\n       screenshot --list\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();

    if (args.size() == 2 && args[1] == QLatin1String("--list")) {
        for (const Shot& shot : kShots) std::printf("%s %s\n", shot.screen, shot.state);
        return 0;
    }
    if (args.size() != 4) return Usage();

    const Shot* chosen = nullptr;
    for (const Shot& shot : kShots)
        if (args[1] == QLatin1String(shot.screen) && args[2] == QLatin1String(shot.state)) chosen = &shot;
    if (!chosen) {
        std::fprintf(stderr, "screenshot: no state \"%s\" of screen \"%s\" (see --list)\n",
                     qPrintable(args[2]), qPrintable(args[1]));
        return 2;
    }

    Module1 session;
    FixedRandom& random = Random();
    // The question file of the game folder the tool was built into.
    QuestionBank bank(session, random, ExecutableFolder().parent_path() / "wending.bin");
    QuietMessages messages;
    NoPages pages;
    Screens screens(Services{session, bank, messages, random, pages}, [] {});
    RegisterAllScreens(screens);

    chosen->setup(screens);
    QApplication::processEvents();
    Screen* screen = screens.Loaded(chosen->id);
    if (!screen) {
        std::fprintf(stderr, "screenshot: the screen is no longer loaded in that state\n");
        return 1;
    }
    if (!screen->grab().save(args[3], "PNG")) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
