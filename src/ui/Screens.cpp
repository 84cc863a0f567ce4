// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Screens.h"

#include <algorithm>
#include <exception>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "ui/Messages.h"
#include "ui/Screen.h"

namespace wd {

class Screens::Boxes final : public MessageBoxes {
public:
    Boxes(Screens& screens, MessageBoxes& shown) : screens_(screens), shown_(shown) {}

    Answer Show(MessageId id, const QString& answer, QWidget* owner) override
    {
        if (!MayShow(owner)) return Answer::Cancel;
        const NestedLoop nested(screens_);
        return shown_.Show(id, answer, owner);
    }
    void Notice(const QString& text, QWidget* owner) override
    {
        if (!MayShow(owner)) return;
        const NestedLoop nested(screens_);
        shown_.Notice(text, owner);
    }
    void AddressNotice(const QString& text, const QString& address, QWidget* owner) override
    {
        if (!MayShow(owner)) return;
        const NestedLoop nested(screens_);
        shown_.AddressNotice(text, address, owner);
    }
    void Dismiss(const QWidget* owner) override { shown_.Dismiss(owner); }

private:
    // A screen that is gone raises no box, nor does anything once the program ends.
    bool MayShow(const QWidget* owner) const
    {
        if (screens_.ending_) return false;
        const auto* screen = qobject_cast<const Screen*>(owner);
        return !screen || screen->IsLoaded();
    }

    Screens& screens_;
    MessageBoxes& shown_;
};

Screens::NestedLoop::NestedLoop(Screens& screens, const Screen* shown) : screens_(screens)
{
    screens_.nestedLoops_.push_back(shown);
}

Screens::NestedLoop::~NestedLoop()
{
    screens_.nestedLoops_.pop_back();
    if (screens_.nestedLoops_.empty()) screens_.BuryWhenIdle();
    emit screens_.NestedLoopEnded();
}

Screens::Screens(Services services, Ender endProcess)
    : boxes_(std::make_unique<Boxes>(*this, services.messages)),
      services_{services.session, services.bank, *boxes_, services.random, services.urls},
      endProcess_(std::move(endProcess))
{
    if (!endProcess_) endProcess_ = [] { QCoreApplication::exit(0); };
}

Screens::~Screens()
{
    // Windows still loaded go without their unload steps, as at the end of the program.
    ending_ = true;
    for (Host& host : hosts_) host.screen.reset();
    unloaded_.clear();
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
    if (!host.factory) qFatal("%s is not registered", ScreenName(id));
    try {
        host.screen = host.factory(*this);
    } catch (const std::exception& e) {
        // A layout table or a control handle that does not match.
        qFatal("%s cannot be built: %s", ScreenName(id), e.what());
    }
    host.placed = false;
    host.screen->Form_Load();
    if (!host.screen) qFatal("%s unloaded itself while loading", ScreenName(id));
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
    host.shownAt = ++presentations_;
    screen.show();
    screen.raise();
    screen.activateWindow();
}

QWindow* Screens::Uppermost(const Screen& screen) const
{
    const Host* top = nullptr;
    for (const Host& h : hosts_)
        if (h.screen && h.screen.get() != &screen && h.screen->isVisible() && (!top || h.shownAt > top->shownAt)) top = &h;
    return top ? top->screen->windowHandle() : nullptr;
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
        // Kept above the window it was opened over: the one stacking rule a
        // Wayland compositor takes from a program (X11's ignore it for such windows).
        screen.winId();
        screen.windowHandle()->setTransientParent(Uppermost(screen));
        Present(HostOf(id));
    }
    if (State(id) != ScreenState::Shown || ending_) return;

    QEventLoop loop;
    connect(this, &Screens::ScreenGone, &loop, [&loop, id](ScreenId gone) {
        if (gone == id) loop.quit();
    });
    const NestedLoop nested(*this, &screen);
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
    boxes_->Dismiss(host.screen.get());
    host.screen->Form_Unload();
    host.unloading = false;
    if (ending_ || !host.screen) return;

    // A handler of this screen may still be running, here or below a nested
    // loop: the window is only hidden for now.
    unloaded_.push_back(std::move(host.screen));
    unloaded_.back()->hide();
    emit ScreenGone(id);
    CheckSomethingVisible();
    BuryWhenIdle();
}

void Screens::BuryWhenIdle()
{
    if (unloaded_.empty() || buryPending_) return;
    buryPending_ = true;
    // Queued, so that the handler that unloaded a screen, or ran the last
    // nested loop, has finished; a nested loop entered meanwhile puts it off
    // until that loop has been left.
    QMetaObject::invokeMethod(
        this,
        [this] {
            buryPending_ = false;
            if (!nestedLoops_.empty()) return;
            const auto dead = std::move(unloaded_);
            unloaded_.clear();
        },
        Qt::QueuedConnection);
}

bool Screens::Covered(const Screen& screen) const
{
    return !nestedLoops_.empty() && nestedLoops_.back() != &screen;
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
    boxes_->Dismiss(nullptr);
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
