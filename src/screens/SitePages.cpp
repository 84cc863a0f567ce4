// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/SitePages.h"

#include "game/ScoreAddress.h"
#include "platform/UrlOpener.h"
#include "ui/Messages.h"
#include "ui/Screen.h"
#include "ui/Screens.h"

namespace wd {

QString PageNotOpenedText(const QString& address)
{
    return QStringLiteral("无法打开浏览器。请按“复制网址”，再把下面的网址粘贴到浏览器里：\r%1")
        .arg(WithPasswordMasked(address));
}

PageRequests::PageRequests(Screen& screen) : screen_(screen), self_(std::make_shared<PageRequests*>(this))
{
    // Queued: the handler that opened the box or screen finishes first, so a
    // leave it confirmed meanwhile is known when the answer is taken up.
    QObject::connect(&screen.screens(), &Screens::NestedLoopEnded, &screen, [this] { TakeUp(); },
                     Qt::QueuedConnection);
}

void PageRequests::Open(const QString& address, Decided decided)
{
    const std::weak_ptr<PageRequests*> alive = self_;
    screen_.services().urls.Open(address, [alive, address, decided = std::move(decided)](bool opened) {
        const auto self = alive.lock();
        if (!self) return;
        (*self)->answers_.push_back({address, decided, opened});
        (*self)->TakeUp();
    });
}

void PageRequests::TakeUp()
{
    while (!answers_.empty() && screen_.IsLoaded() && !screen_.screens().Covered(screen_)) {
        const Answer answer = std::move(answers_.front());
        answers_.pop_front();
        if (answer.decided) answer.decided(answer.opened);
        if (answer.opened || !screen_.IsLoaded() || !screen_.isVisible()) continue;
        screen_.TellAddress(PageNotOpenedText(answer.address), answer.address);
    }
    if (!screen_.IsLoaded()) answers_.clear(); // the screen has gone: its answers concern nobody
}

} // namespace wd
