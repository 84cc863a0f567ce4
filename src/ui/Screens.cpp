#include "ui/Screens.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "ui/Screen.h"

namespace wd {

Screens::Screens(Services services, Ender endProcess)
    : services_(services), endProcess_(std::move(endProcess))
{
    if (!endProcess_) endProcess_ = [] { QCoreApplication::exit(0); };
}

Screens::~Screens()
{
    // Windows still loaded go without their unload steps, as at the end of the program.
    ending_ = true;
    for (Host& host : hosts_) host.screen.reset();
}

void Screens::Register(ScreenId id, Factory factory) { HostOf(id).factory = std::move(factory); }

ScreenState Screens::State(ScreenId id) const
{
    const Host& host = HostOf(id);
    if (!host.screen) return ScreenState::NotLoaded;
    return host.screen->isVisible() ? ScreenState::Shown : ScreenState::Hidden;
}

Screen* Screens::Loaded(ScreenId id) const { return HostOf(id).screen.get(); }

Screen& Screens::Load(ScreenId id)
{
    Host& host = HostOf(id);
    if (host.screen) return *host.screen;
    if (!host.factory) throw std::logic_error("screen not registered");
    host.screen = host.factory(*this);
    host.placed = false;
    host.screen->Form_Load();
    // The load step may have unloaded the screen again.
    if (!host.screen) throw std::logic_error("screen unloaded itself while loading");
    return *host.screen;
}

void Screens::Present(Host& host)
{
    Screen& screen = *host.screen;
    if (!host.placed) {
        host.placed = true;
        if (const QScreen* display = QGuiApplication::primaryScreen()) {
            const QRect area = display->availableGeometry();
            screen.move(area.center() - QPoint(screen.width() / 2, screen.height() / 2));
        }
    }
    screen.show();
    screen.raise();
    screen.activateWindow();
}

void Screens::Show(ScreenId id)
{
    if (ending_) return;
    Screen& screen = Load(id);
    if (screen.isVisible()) {
        screen.raise();
        screen.activateWindow();
        return;
    }
    screen.setWindowModality(Qt::NonModal);
    Present(HostOf(id));
}

void Screens::ShowModal(ScreenId id)
{
    if (ending_) return;
    Screen& screen = Load(id);
    if (screen.isVisible() && screen.windowModality() != Qt::ApplicationModal) {
        // Modality can only change while the window is hidden.
        screen.hide();
    }
    if (!screen.isVisible()) {
        screen.setWindowModality(Qt::ApplicationModal);
        Present(HostOf(id));
    }
    if (State(id) != ScreenState::Shown || ending_) return;

    QEventLoop loop;
    connect(this, &Screens::ScreenGone, &loop, [&loop, id](ScreenId gone) {
        if (gone == id) loop.quit();
    });
    modalLoops_.push_back(&loop);
    loop.exec(QEventLoop::DialogExec);
    modalLoops_.erase(std::find(modalLoops_.begin(), modalLoops_.end(), &loop));
}

void Screens::Hide(ScreenId id)
{
    if (ending_) return;
    if (Screen* screen = Loaded(id)) screen->hide();
}

void Screens::Unload(ScreenId id)
{
    if (ending_) return;
    Host& host = HostOf(id);
    if (!host.screen || host.unloading) return;
    host.unloading = true;
    for (QTimer* timer : host.screen->controls().Timers()) timer->stop();
    host.screen->Form_Unload();
    host.unloading = false;
    if (ending_ || !host.screen) return;

    std::unique_ptr<Screen> gone = std::move(host.screen);
    gone->hide();
    emit ScreenGone(id);
    CheckSomethingVisible();
    // A handler of this screen may still be running: Qt deletes the window
    // once control is back in the event loop that delivered that handler.
    gone.release()->deleteLater();
}

void Screens::EndProgram()
{
    if (ending_) return;
    ending_ = true;
    for (std::size_t i = 0; i < hosts_.size(); ++i) {
        Screen* screen = hosts_[i].screen.get();
        if (!screen) continue;
        for (QTimer* timer : screen->controls().Timers()) timer->stop();
        screen->hide();
        emit ScreenGone(static_cast<ScreenId>(i));
    }
    for (QEventLoop* loop : modalLoops_) loop->exit();
    endProcess_();
}

void Screens::NoteHidden(Screen& screen)
{
    if (ending_) return;
    if (HostOf(screen.Id()).screen.get() != &screen) return; // an unloaded window going
    emit ScreenGone(screen.Id());
    CheckSomethingVisible();
}

void Screens::CheckSomethingVisible()
{
    if (checkPending_ || ending_) return;
    checkPending_ = true;
    QTimer::singleShot(0, this, [this] {
        checkPending_ = false;
        if (ending_) return;
        const bool anyShown = std::any_of(hosts_.begin(), hosts_.end(), [](const Host& h) {
            return h.screen && h.screen->isVisible();
        });
        if (!anyShown) EndProgram();
    });
}

} // namespace wd
