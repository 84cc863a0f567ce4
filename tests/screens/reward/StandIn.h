#pragma once
// A screen with no controls that stands in for a screen these tests do not
// exercise (the score-saving screen, a backdrop window). It notes how it was
// opened; opened modally, it leaves again as soon as the modal loop runs.
#include <QTimer>

#include "ui/Screen.h"
#include "ui/Screens.h"

namespace wd::test {

struct StandInLog {
    int loads = 0;
    int modalShows = 0;
    // The state of another screen at this one's load: for checking hand-over order.
    ScreenId watched = ScreenId::FrmExplosion;
    ScreenState watchedAtLoad = ScreenState::NotLoaded;
};

class StandIn final : public Screen {
public:
    StandIn(Screens& screens, ScreenId id, StandInLog& log)
        : Screen(screens, id, WindowLayout{.caption = QStringLiteral("stand-in"), .width = 1500, .height = 1500, .rows = {}}),
          log_(log)
    {
    }
    static void RegisterAs(Screens& screens, ScreenId id, StandInLog& log)
    {
        screens.Register(id, [id, &log](Screens& s) -> std::unique_ptr<Screen> {
            return std::make_unique<StandIn>(s, id, log);
        });
    }

protected:
    void Form_Load() override
    {
        ++log_.loads;
        log_.watchedAtLoad = screens().State(log_.watched);
        QTimer::singleShot(0, this, [this] {
            if (windowModality() != Qt::ApplicationModal || !isVisible()) return;
            ++log_.modalShows;
            screens().Unload(Id());
        });
    }

private:
    StandInLog& log_;
};

} // namespace wd::test
