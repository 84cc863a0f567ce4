#pragma once
// A game on the start and quiz screens, on a generated question file whose
// question N reads "question N ____" with the answer "aN" (easy: "easy N ____",
// "eN"). Screens not under test are stand-ins that record how they were shown.
#include <QTest>

#include "fakes/BankFixture.h"
#include "fakes/ScreenRig.h"
#include "screens/entry/FrmStart.h"
#include "screens/quiz/Frmmain.h"

namespace wd::test {

// An empty window in place of a screen that is not under test. Shown modally,
// it goes away again at once, as a player who leaves it straight away.
template <ScreenId Which>
class StandIn final : public Screen {
public:
    static constexpr ScreenId kId = Which;
    explicit StandIn(Screens& screens) : Screen(screens, kId, WindowLayout{.caption = QStringLiteral("stand-in"), .width = 600, .height = 600, .rows = {}}) {}
    static inline int loads = 0;
    static inline int modalShows = 0;

protected:
    void Form_Load() override { ++loads; }
    void showEvent(QShowEvent* event) override
    {
        Screen::showEvent(event);
        if (windowModality() == Qt::ApplicationModal) {
            ++modalShows;
            QTimer::singleShot(0, this, [this] { screens().Unload(kId); });
        }
    }
};

class PlayRig {
public:
    PlayRig();

    FrmStart& start() { return rig.screens.Get<FrmStart>(); }
    Frmmain* quiz() { return rig.screens.IfLoaded<Frmmain>(); }
    ScreenState State(ScreenId id) const { return rig.screens.State(id); }

    // Types the id and presses the start screen's start button.
    void SignIn(const QString& id = QStringLiteral("glintora"));
    // Signs in and presses the quiz screen's start button; the first question is
    // `first`, the draws after it take questions 20, 21, 22 … in turn.
    void StartGame(int first = 1);
    // The answer to the question on screen, read from the question shown.
    QString AnswerShown();
    // Types text into the answer box and presses Enter.
    void Answer(const QString& text);
    void Tick() { quiz()->Timer1_Timer(); }
    QString Caption(const char* name, int index = kNoIndex) { return quiz()->label(name, index)->Caption(); }

    BankFixture file;
    ScreenRig rig;
};

} // namespace wd::test
