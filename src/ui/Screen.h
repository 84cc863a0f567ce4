// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A screen: one fixed-size game window built from its layout table. A screen
// class derives from Screen, passes its table to the constructor, takes typed
// handles of the controls it uses from controls() in its own constructor (so a
// misspelt name or a wrong kind fails when the screen is built) and overrides
// the steps it needs:
//   Form_Load      runs once after the window is built, before it is first shown
//   Form_Unload    runs when the window is unloaded (not when the program ends)
//   Form_CloseBox  runs when the player clicks the close box (default: unload)
// Screens are made, shown, hidden and unloaded through Screens only. A screen
// touches only its own controls; what it does to another screen goes through
// a named method of that screen.
#include <QWidget>

#include "ui/ControlSet.h"
#include "ui/Layout.h"
#include "ui/Messages.h"
#include "ui/ScreenId.h"

namespace wd {

class Screens;
struct Services;

// On Wayland the toolkit draws the title bar, with a maximize button that a
// window of fixed size cannot hide, and a compositor may answer it with a size
// the window must take (weston ends a program whose window does not). There a
// window's least size is its own and its largest the compositor's; elsewhere
// this does nothing. Call it once the window's own size is set.
void LetTheCompositorSize(QWidget& window);

class Screen : public QWidget {
    Q_OBJECT
public:
    Screen(Screens& screens, ScreenId id, const WindowLayout& layout);
    ~Screen() override;

    ScreenId Id() const { return id_; }
    Screens& screens() const { return screens_; }
    const Services& services() const;

    // The window's controls by name: for the screen's own constructor, for the
    // toolkit (Tab order, links, timers), and for tests and tools that read or
    // drive a screen from outside. Never for another screen.
    const ControlSet& controls() const { return controls_; }

    // The message boxes this screen raises: over this window, and closed as if
    // answered Cancel when this screen is unloaded.
    Answer Ask(MessageId id, const QString& answer = {});
    void Tell(const QString& notice);
    // A notice with an address that a button of the box copies whole.
    void TellAddress(const QString& notice, const QString& address);
    // Still the loaded screen of its id: false once it was unloaded, as a
    // handler may find when a message box or a modal screen returns.
    bool IsLoaded() const;

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_CloseBox();

    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class Screens;

    Screens& screens_;
    ScreenId id_;
    ControlSet controls_;
};

} // namespace wd
