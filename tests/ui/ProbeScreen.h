#pragma once
// A screen for exercising the toolkit: one of every control kind, with
// counters for its load and unload steps and hooks for its handlers.
#include "ui/Screen.h"

namespace wd::test {

struct ProbeLog {
    int loads = 0;
    int unloads = 0;
    int closeBoxes = 0;
};

class ProbeScreen final : public Screen {
    Q_OBJECT
public:
    ProbeScreen(Screens& screens, ScreenId id, ProbeLog& log);
    // Registers a probe under id, logging into log.
    static void RegisterAs(Screens& screens, ScreenId id, ProbeLog& log);

protected:
    void Form_Load() override { ++log_.loads; }
    void Form_Unload() override { ++log_.unloads; }
    void Form_CloseBox() override;

private:
    ProbeLog& log_;
};

} // namespace wd::test
