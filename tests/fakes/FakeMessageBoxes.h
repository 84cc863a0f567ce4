#pragma once
// Message boxes that show nothing: each message is recorded with its text, and
// answered from a script (OK once the script is used up).
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
    void Notice(const QString& text, QWidget* = nullptr) override { notices.push_back(text); }
    void Dismiss(const QWidget* owner) override;
    void Script(Answer answer) { script_.push_back(answer); }

    // From now on each box waits in its own loop; opened runs once that loop turns.
    void Nest(std::function<void(MessageId)> opened = {});
    // Answers the innermost box still open; the boxes open and not yet answered.
    void Reply(Answer answer);
    std::size_t OpenCount() const { return open_.size(); }

    std::vector<Shown> shown;
    std::vector<QString> notices;

private:
    struct Open {
        const QWidget* owner;
        QEventLoop* loop;
        Answer answer;
    };
    std::deque<Answer> script_;
    bool nested_ = false;
    std::function<void(MessageId)> opened_;
    std::vector<Open*> open_;
};

} // namespace wd::test
