#pragma once
// Screens: the game's six screens and the services they share. It owns one
// lifecycle host per screen (not loaded / loaded and hidden / shown) and
// carries out every hand-over: show, show modal, hide, unload, end the program.
//
// A screen class FrmX declares `static constexpr ScreenId kId = ScreenId::FrmX;`
// and a constructor FrmX(Screens&); screens.Register<FrmX>() makes it known.
// Other screens reach it with screens.Get<FrmX>() (loads it if need be, like
// touching a control of an unloaded window) or screens.IfLoaded<FrmX>().
#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include <QObject>

#include "ui/ScreenId.h"

class QEventLoop;

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

    const Services& services() const { return services_; }

    void Register(ScreenId id, Factory factory);
    template <class T> void Register()
    {
        Register(T::kId, [](Screens& s) -> std::unique_ptr<Screen> { return std::make_unique<T>(s); });
    }

    ScreenState State(ScreenId id) const;
    // The loaded screen, or nullptr.
    Screen* Loaded(ScreenId id) const;
    template <class T> T* IfLoaded() const { return dynamic_cast<T*>(Loaded(T::kId)); }
    // Builds the screen from its table and runs its load step, unless loaded.
    Screen& Load(ScreenId id);
    template <class T> T& Get()
    {
        T* screen = dynamic_cast<T*>(&Load(T::kId));
        if (!screen) throw std::logic_error("screen registered with another class");
        return *screen;
    }

    // Shows the screen without waiting (loading it first if need be).
    void Show(ScreenId id);
    // Shows the screen modally: returns once it is hidden or unloaded; the
    // other windows take no input meanwhile and every timer keeps ticking.
    void ShowModal(ScreenId id);
    // Hides the screen; every control keeps its state.
    void Hide(ScreenId id);
    // Runs the screen's unload step and discards it. A handler of that very
    // screen may go on afterwards: the window is deleted only once control is
    // back in the event loop that ran the handler.
    void Unload(ScreenId id);
    // Closes every window without unload steps and ends the program. After
    // this every other operation does nothing.
    void EndProgram();
    bool Ending() const { return ending_; }

signals:
    // The screen was hidden or unloaded (or the program is ending).
    void ScreenGone(ScreenId id);

private:
    friend class Screen;
    struct Host {
        Factory factory;
        std::unique_ptr<Screen> screen;
        bool placed = false;    // centred once since it was loaded
        bool unloading = false; // its unload step is running
    };
    Host& HostOf(ScreenId id) { return hosts_.at(static_cast<std::size_t>(id)); }
    const Host& HostOf(ScreenId id) const { return hosts_.at(static_cast<std::size_t>(id)); }
    void Present(Host& host);
    void NoteHidden(Screen& screen);
    // No program may run on with no window: checked once the current handler
    // has finished, so that a hand-over may hide one screen before it shows
    // the next.
    void CheckSomethingVisible();

    Services services_;
    Ender endProcess_;
    std::array<Host, kScreenCount> hosts_;
    std::vector<QEventLoop*> modalLoops_;
    bool ending_ = false;
    bool checkPending_ = false;
};

} // namespace wd
