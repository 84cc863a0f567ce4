// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Screens: the game's six screens and the services they share. It owns one
// lifecycle host per screen (not loaded / loaded and hidden / shown) and
// carries out every hand-over: show, show modal, hide, unload, end the program.
//
// A screen class FrmX declares `static constexpr ScreenId kId = ScreenId::FrmX;`
// and a constructor FrmX(Screens&); screens.Register<FrmX>() makes it known.
// Other screens reach it with screens.Get<FrmX>() (loads it if need be, like
// touching a control of an unloaded window) or screens.IfLoaded<FrmX>().
//
// A screen is mostly built inside a handler of another, where no exception may
// go: a screen that cannot be built from its table, an id with no class
// registered and a Get<T> of another class stop the program with a message
// that names the screen. The game checks every id when it is assembled, and
// the tests build every screen.
//
// Nested event loops. A modal screen and every message box (raised through
// services().messages) run an event loop while their caller waits; the program
// runs no other. Timers tick inside those loops, so a screen may be
// unloaded while one of its handlers waits further down the stack. No window
// is deleted while any such loop runs: an unloaded screen is kept, hidden,
// until the last nested loop has been left and the handler that ran it has
// finished. Its message boxes close at its unload as if answered Cancel, so an
// OK only ever comes back to a screen that is still loaded. A handler that goes
// on after a box or a modal screen checks Screen::IsLoaded() first.
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QObject>

#include "ui/ScreenId.h"

class QEventLoop;
class QWindow;

namespace wd {

class Module1;
class QuestionBank;
class MessageBoxes;
class RandomSource;
class UrlOpener;
class Screen;

// What every screen may use besides the screens themselves.
struct Services {
    Module1& session;
    QuestionBank& bank;
    MessageBoxes& messages;
    RandomSource& random;
    UrlOpener& urls;
};

class Screens : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<std::unique_ptr<Screen>(Screens&)>;
    // Ends the process's event processing; the game's default quits the
    // application (leaving every event loop), tests record the call instead.
    using Ender = std::function<void()>;

    explicit Screens(Services services, Ender endProcess = {});
    ~Screens() override;

    // The services given, but for messages: boxes raised through it count as
    // nested loops, belong to their owner, and are not shown once the program
    // is ending or when their owner screen is no longer loaded.
    const Services& services() const { return services_; }

    void Register(ScreenId id, Factory factory);
    template <class T> void Register()
    {
        Register(T::kId, [](Screens& s) -> std::unique_ptr<Screen> { return std::make_unique<T>(s); });
    }
    // Whether a class is registered for the id.
    bool Registered(ScreenId id) const { return static_cast<bool>(HostOf(id).factory); }

    ScreenState State(ScreenId id) const;
    // The loaded screen, or nullptr.
    Screen* Loaded(ScreenId id) const;
    template <class T> T* IfLoaded() const { return dynamic_cast<T*>(Loaded(T::kId)); }
    // Builds the screen from its table and runs its load step, unless loaded.
    Screen& Load(ScreenId id);
    template <class T> T& Get()
    {
        T* screen = dynamic_cast<T*>(&Load(T::kId));
        if (!screen) qFatal("%s is registered with another class", ScreenName(T::kId));
        return *screen;
    }

    // Shows the screen without waiting (loading it first if need be).
    void Show(ScreenId id);
    // Shows the screen modally: returns once it is hidden or unloaded; the
    // other windows take no input meanwhile and every timer keeps ticking.
    void ShowModal(ScreenId id);
    // Hides the screen; every control keeps its state.
    void Hide(ScreenId id);
    // Closes the screen's message boxes as if answered Cancel, runs its unload
    // step and discards it. A handler of that very screen may go on afterwards:
    // the window is deleted only once no nested loop runs any more and control
    // is back in the outermost event loop.
    void Unload(ScreenId id);
    // Closes every window without unload steps and ends the program. After
    // this every other operation does nothing.
    void EndProgram();
    bool Ending() const { return ending_; }
    // A message box or another modal screen is open over the screen, so the
    // player cannot reach it now.
    bool Covered(const Screen& screen) const;

signals:
    // The screen was hidden or unloaded (or the program is ending).
    void ScreenGone(ScreenId id);
    // A message box or modal screen has closed; what waited for it may go on.
    void NestedLoopEnded();

private:
    friend class Screen;
    class Boxes;
    // Counts a nested event loop for as long as it runs. `shown` is the modal
    // screen the loop waits for; a message box's loop has none.
    class NestedLoop {
    public:
        explicit NestedLoop(Screens& screens, const Screen* shown = nullptr);
        ~NestedLoop();
        NestedLoop(const NestedLoop&) = delete;
        NestedLoop& operator=(const NestedLoop&) = delete;

    private:
        Screens& screens_;
    };
    struct Host {
        Factory factory;
        std::unique_ptr<Screen> screen;
        bool placed = false;    // centred once since it was loaded
        bool unloading = false; // its unload step is running
        unsigned shownAt = 0;   // when it was last presented, in presentations
    };
    Host& HostOf(ScreenId id) { return hosts_.at(static_cast<std::size_t>(id)); }
    const Host& HostOf(ScreenId id) const { return hosts_.at(static_cast<std::size_t>(id)); }
    void Present(Host& host);
    // The window of the screen presented last that is shown still, other than `screen`.
    QWindow* Uppermost(const Screen& screen) const;
    void NoteHidden(Screen& screen);
    // No program may run on with no window: checked once the current handler
    // has finished, so that a hand-over may hide one screen before it shows
    // the next.
    void CheckSomethingVisible();
    // Deletes the unloaded screens once control is back in an event loop with
    // no nested loop running.
    void BuryWhenIdle();

    std::unique_ptr<Boxes> boxes_;
    Services services_;
    Ender endProcess_;
    std::array<Host, kScreenCount> hosts_;
    std::vector<QEventLoop*> modalLoops_;
    std::vector<std::unique_ptr<Screen>> unloaded_; // hidden, waiting to be deleted
    std::vector<const Screen*> nestedLoops_; // innermost last; nullptr for a message box
    unsigned presentations_ = 0;
    bool buryPending_ = false;
    bool ending_ = false;
    bool checkPending_ = false;
};

} // namespace wd
