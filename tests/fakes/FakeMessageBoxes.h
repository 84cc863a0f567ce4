#pragma once
// Message boxes that show nothing: each message is recorded with its text, and
// answered from a script (OK once the script is used up); `whileShown` runs as
// if inside the next box or notice, and is then cleared.
//
// Nested, every box runs a real event loop as a real one does (timers tick,
// deferred deletes run) until the test answers it with Reply, or its owner
// goes, or a time limit passes (a test failure, answered Cancel).
#include <deque>
#include <functional>
#include <vector>

#include "ui/Messages.h"

class QEventLoop;

namespace wd::test {

class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        MessageId id;
        QString text;
    };
    Answer Show(MessageId id, const QString& answer = {}, QWidget* owner = nullptr) override;
    void Notice(const QString& text, QWidget* owner = nullptr) override;
    void AddressNotice(const QString& text, const QString& address, QWidget* owner = nullptr) override;
    void Dismiss(const QWidget* owner) override;
    void Script(Answer answer) { script_.push_back(answer); }

    // From now on each box waits in its own loop; opened runs once that loop turns.
    void Nest(std::function<void(MessageId)> opened = {});
    // Answers the innermost box still open; the boxes open and not yet answered.
    void Reply(Answer answer);
    std::size_t OpenCount() const { return open_.size(); }

    std::vector<Shown> shown;
    std::vector<QString> notices;
    std::vector<QString> copyable; // the address each address notice copies
    std::function<void()> whileShown;

private:
    struct Open {
        const QWidget* owner;
        QEventLoop* loop;
        Answer answer;
    };
    // Keeps the box open as the mode says; the answer it gets (Ok when not nested).
    Answer Wait(int what, const QWidget* owner);

    std::deque<Answer> script_;
    bool nested_ = false;
    std::function<void(MessageId)> opened_;
    std::vector<Open*> open_;
};

} // namespace wd::test
