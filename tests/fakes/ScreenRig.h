#pragma once
// Everything a screen needs, with fakes for every side effect: session state,
// a question bank that is never opened, scripted random numbers, message boxes
// answered from a script, recorded page requests, and a program end that is
// only counted. Register the screens under test, then drive them.
#include <filesystem>
#include <functional>

#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakeUrlOpener.h"
#include "fakes/ScriptedRandom.h"
#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "ui/Screens.h"

namespace wd::test {

class ScreenRig {
public:
    ScreenRig();
    // With a question bank on this file (opened by the start screen's load).
    explicit ScreenRig(const std::filesystem::path& questionFile);
    ~ScreenRig();

    // Deletes the windows that unloaded screens left for deferred deletion.
    static void FlushDeletes();
    // Runs the event loop until done() holds or ms have passed; returns done().
    static bool WaitUntil(const std::function<bool()>& done, int ms = 5000);

    Module1 session;
    ScriptedRandom random;
    QuestionBank bank;
    FakeMessageBoxes messages;
    FakeUrlOpener urls;
    int programEnds = 0;
    Screens screens;
};

} // namespace wd::test
