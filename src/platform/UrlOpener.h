// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Opening a page of the fan site in the player's default browser. Screens go
// through this seam; tests decide the launches themselves.
#include <chrono>
#include <functional>

#include <QObject>
#include <QString>

namespace wd {

class UrlOpener {
public:
    // true once the page is known to be on its way to a browser, false when no
    // browser could take it.
    using Decided = std::function<void(bool opened)>;

    virtual ~UrlOpener() = default;
    // Hands the address to the default browser. `decided` runs exactly once,
    // either before Open returns or later from the event loop; a caller that may
    // be gone by then guards its callback.
    virtual void Open(const QString& address, Decided decided) = 0;
};

// The desktop's own opener, xdg-open, started with the address as its one
// argument and watched: it fails when it cannot be started or exits with an
// error within the wait; it succeeds when it exits cleanly, or when it is
// still running once the wait is over (it then runs the browser itself and
// stays until that browser ends). The screens never wait for it.
class DesktopUrlOpener final : public QObject, public UrlOpener {
public:
    static constexpr std::chrono::milliseconds kWait{5000};

    explicit DesktopUrlOpener(std::chrono::milliseconds wait = kWait, QObject* parent = nullptr);
    void Open(const QString& address, Decided decided) override;

private:
    std::chrono::milliseconds wait_;
};

} // namespace wd
