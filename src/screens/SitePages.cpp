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

PageRequests::PageRequests(Screen& screen) : screen_(screen), self_(std::make_shared<PageRequests*>(this)) {}

bool PageRequests::Loaded() const { return screen_.screens().Loaded(screen_.Id()) == &screen_; }

void PageRequests::Open(const QString& address, Decided decided)
{
    const std::weak_ptr<PageRequests*> alive = self_;
    screen_.services().urls.Open(address, [alive, address, decided = std::move(decided)](bool opened) {
        const auto self = alive.lock();
        if (!self) return;
        PageRequests& requests = **self;
        requests.answers_.push_back({address, decided, opened});
        if (requests.modal_ == 0) requests.TakeUp();
    });
}

bool PageRequests::RunModal(const std::function<void()>& modal)
{
    ++modal_;
    modal();
    --modal_;
    return modal_ == 0 && TakeUp();
}

bool PageRequests::TakeUp()
{
    bool told = false;
    ++modal_; // answers that come while a notice is open wait for it
    while (!answers_.empty() && Loaded()) {
        const Answer answer = std::move(answers_.front());
        answers_.pop_front();
        if (answer.decided) answer.decided(answer.opened);
        if (answer.opened || !Loaded() || !screen_.isVisible()) continue;
        screen_.services().messages.AddressNotice(PageNotOpenedText(answer.address), answer.address);
        told = true;
    }
    --modal_;
    answers_.clear(); // the screen has been unloaded: its answers concern nobody
    return told;
}

} // namespace wd
