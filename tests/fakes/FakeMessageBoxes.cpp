#include "fakes/FakeMessageBoxes.h"

#include <utility>

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

namespace wd::test {

namespace {
// Longer than any box of a test stays open.
constexpr int kOpenLimitMs = 10000;
// What a notice reports to `opened`: no message of the game's own.
constexpr int kNoticeId = 0;
} // namespace

Answer FakeMessageBoxes::Show(MessageId id, const QString& answer, QWidget* owner)
{
    shown.push_back({id, MessageText(id, answer)});
    if (nested_) return Wait(static_cast<int>(id), owner);
    Wait(static_cast<int>(id), owner);
    if (script_.empty()) return Answer::Ok;
    const Answer a = script_.front();
    script_.pop_front();
    return a;
}

void FakeMessageBoxes::Notice(const QString& text, QWidget* owner)
{
    notices.push_back(text);
    Wait(kNoticeId, owner);
}

void FakeMessageBoxes::AddressNotice(const QString& text, const QString& address, QWidget* owner)
{
    notices.push_back(text);
    copyable.push_back(address);
    Wait(kNoticeId, owner);
}

Answer FakeMessageBoxes::Wait(int what, const QWidget* owner)
{
    if (const auto inside = std::exchange(whileShown, nullptr)) inside();
    if (!nested_) return Answer::Ok;
    QEventLoop loop;
    Open box{owner, &loop, Answer::Cancel};
    open_.push_back(&box);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        ADD_FAILURE() << "message " << what << " still open";
        loop.exit();
    });
    limit.start(kOpenLimitMs);
    if (opened_) QTimer::singleShot(0, &loop, [this, what] { opened_(static_cast<MessageId>(what)); });
    loop.exec(QEventLoop::DialogExec);
    std::erase(open_, &box);
    return box.answer;
}

void FakeMessageBoxes::Nest(std::function<void(MessageId)> opened)
{
    nested_ = true;
    opened_ = std::move(opened);
}

void FakeMessageBoxes::Dismiss(const QWidget* owner)
{
    std::erase_if(open_, [owner](Open* box) {
        if (owner && box->owner != owner) return false;
        box->answer = Answer::Cancel;
        box->loop->exit();
        return true;
    });
}

void FakeMessageBoxes::Reply(Answer answer)
{
    if (open_.empty()) {
        ADD_FAILURE() << "no box open to answer";
        return;
    }
    open_.back()->answer = answer;
    open_.back()->loop->exit();
    open_.pop_back();
}

} // namespace wd::test
