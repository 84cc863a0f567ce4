// screenshot: renders one screen of the game in one state to a PNG file,
// offscreen. A developer tool for checking layouts and for the README.
//
//   screenshot SCREEN STATE OUT.png
//   screenshot --list
//
// Each shot is a row of kShots below: a screen, a state name and the steps
// that bring the freshly shown screen into that state.
#include <cstdio>
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
#include "ui/Messages.h"
#include "ui/Screen.h"
#include "ui/Screens.h"

namespace {

using namespace wd;

// The tool shows no message boxes and opens no pages.
class QuietMessages final : public MessageBoxes {
public:
    Answer Show(MessageId, const QString&) override { return Answer::Ok; }
    void Notice(const QString&) override {}
};
class NoPages final : public UrlOpener {
public:
    bool Open(const QString&) override { return true; }
};

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
    s.Get<FrmStart>().edit("TxtUserId")->setText(QStringLiteral("glintora"));
    s.Get<FrmStart>().CmdStart_Click();
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
    {"quiz", "playing", ScreenId::Frmmain,
     [](Screens& s) {
         SignIn(s);
         Frmmain& quiz = s.Get<Frmmain>();
         quiz.CmdStart_Click();
         quiz.timer("Timer1")->stop();
         quiz.CmdPass_Click();
         quiz.edit("Txtanswer")->setText(QStringLiteral("不眠"));
     }},
    {"quiz", "red-clock", ScreenId::Frmmain,
     [](Screens& s) {
         SignIn(s);
         Frmmain& quiz = s.Get<Frmmain>();
         quiz.CmdStart_Click();
         quiz.timer("Timer1")->stop();
         for (int i = 0; i < 215; ++i) quiz.Timer1_Timer();
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
    ClockSeededRandom random;
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
