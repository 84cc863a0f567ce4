// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Screen.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QHideEvent>
#include <QMouseEvent>
#include <QShowEvent>
#include <QGuiApplication>
#include <QWindow>

#include "ui/ProgramIcon.h"
#include "ui/Screens.h"

namespace wd {

namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                       | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                       | Qt::MSWindowsFixedSizeDialogHint;

// Screen readers take a screen for a window of its own, not a pane of one.
QAccessibleInterface* WindowInterface(const QString& className, QObject* object)
{
    if (className != QLatin1String("wd::Screen") || !object->isWidgetType()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

void LetTheCompositorSize(QWidget& window)
{
    if (QGuiApplication::platformName() != QLatin1String("wayland")) return;
    window.winId(); // the window system's window, made now
    window.windowHandle()->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

Screen::Screen(Screens& screens, ScreenId id, const WindowLayout& layout)
    : QWidget(nullptr, kWindowFlags), screens_(screens), id_(id), controls_(*this, layout)
{
    setWindowTitle(layout.caption);
    setAccessibleDescription(layout.description);
    static const bool factoryInstalled = (QAccessible::installFactory(&WindowInterface), true);
    Q_UNUSED(factoryInstalled);
    setWindowIcon(ProgramIcon());
    setFixedSize(TwipsToPixels(layout.width), TwipsToPixels(layout.height));
    setFont(GameFont(layout.font));
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(layout.back));
    setPalette(p);
    setAutoFillBackground(true);
    setMouseTracking(true); // the free surface turns link labels back
    setAttribute(Qt::WA_DeleteOnClose, false);
    for (Label* link : controls_.Links()) link->SetLinkHot(false);
    LetTheCompositorSize(*this);
}

Screen::~Screen() = default;

const Services& Screen::services() const { return screens_.services(); }

Answer Screen::Ask(MessageId id, const QString& answer) { return services().messages.Show(id, answer, this); }

void Screen::Tell(const QString& notice) { services().messages.Notice(notice, this); }

void Screen::TellAddress(const QString& notice, const QString& address)
{
    services().messages.AddressNotice(notice, address, this);
}

bool Screen::IsLoaded() const { return screens_.Loaded(id_) == this; }

void Screen::Form_CloseBox() { screens_.Unload(id_); }

void Screen::closeEvent(QCloseEvent* event)
{
    // The close box never closes a window by itself; the screen decides.
    event->ignore();
    if (screens_.Ending()) return;
    Form_CloseBox();
}

void Screen::mouseMoveEvent(QMouseEvent* event)
{
    for (Label* link : controls_.Links()) link->SetLinkHot(false);
    event->accept();
}

void Screen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    QWidget* focus = focusWidget();
    const bool focusUsable = focus && focus->isVisible() && focus->isEnabled()
                          && focus->focusPolicy() != Qt::NoFocus;
    if (!focusUsable) {
        if (QWidget* first = controls_.FirstFocusable()) first->setFocus(Qt::OtherFocusReason);
    }
}

void Screen::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) screens_.NoteHidden(*this);
}

} // namespace wd
