// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Opening the fan site's pages from a screen's links.
#include <deque>
#include <functional>
#include <memory>

#include <QString>

namespace wd {

class Screen;

// What the player is told when no browser could open a page: the address as
// the player may see it, its password masked.
QString PageNotOpenedText(const QString& address);

// The page requests of one screen. A page opens through the URL opener while
// the screen goes on. Its answer is taken up only while nothing is open over
// the screen: at once, or once the message box or screen open over it has
// closed. When no browser could take the page, the player is told so over the
// screen that asked, with the address and a button that copies it whole; not
// when that screen is hidden by then, since the player has gone on elsewhere.
// Answers that come once the screen has been unloaded are dropped.
class PageRequests {
public:
    using Decided = std::function<void(bool opened)>;

    explicit PageRequests(Screen& screen);
    PageRequests(const PageRequests&) = delete;
    PageRequests& operator=(const PageRequests&) = delete;

    // `decided` runs when the answer is taken up, before a failure is told.
    void Open(const QString& address, Decided decided = {});

private:
    struct Answer {
        QString address;
        Decided decided;
        bool opened;
    };
    void TakeUp();

    Screen& screen_;
    std::shared_ptr<PageRequests*> self_; // lets a late answer find out whether this still lives
    std::deque<Answer> answers_;          // answers waiting to be taken up
};

} // namespace wd
