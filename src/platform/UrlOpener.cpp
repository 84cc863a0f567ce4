// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/UrlOpener.h"

#include <memory>
#include <utility>

#include <QProcess>
#include <QTimer>
#include <QUrl>

namespace wd {

DesktopUrlOpener::DesktopUrlOpener(std::chrono::milliseconds wait, QObject* parent) : QObject(parent), wait_(wait) {}

void DesktopUrlOpener::Open(const QString& address, Decided decided)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QStringLiteral("http")) {
        decided(false);
        return;
    }

    // Whichever comes first decides: the opener's exit, its failure to start,
    // or the end of the wait with the opener still running.
    auto decide = [pending = std::make_shared<Decided>(std::move(decided))](bool opened) {
        if (Decided once = std::exchange(*pending, nullptr)) once(opened);
    };
    auto* opener = new QProcess(this); // deleted once it has ended, or with the launcher
    auto* wait = new QTimer(opener);
    wait->setSingleShot(true);
    connect(wait, &QTimer::timeout, this, [decide] { decide(true); });
    connect(opener, &QProcess::finished, this, [decide, opener](int code, QProcess::ExitStatus status) {
        decide(status == QProcess::NormalExit && code == 0);
        opener->deleteLater();
    });
    connect(opener, &QProcess::errorOccurred, this, [decide, opener](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return; // a crash arrives as finished
        decide(false);
        opener->deleteLater();
    });

    // The browser it starts inherits these: no input to wait on, and output
    // that goes where the game's goes rather than into a pipe nobody empties.
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({url.toString(QUrl::FullyEncoded)});
    wait->start(wait_);
    opener->start();
}

} // namespace wd
