#pragma once
// Message boxes that show nothing: each message is recorded with its text, and
// answered from a script (OK once the script is used up); `whileShown` runs as
// if inside the next box or address notice, and is then cleared.
#include <deque>
#include <functional>
#include <vector>

#include "ui/Messages.h"

namespace wd::test {

class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        MessageId id;
        QString text;
    };
    Answer Show(MessageId id, const QString& answer = {}) override;
    void Notice(const QString& text) override { notices.push_back(text); }
    void AddressNotice(const QString& text, const QString& address) override;
    void Script(Answer answer) { script_.push_back(answer); }

    std::vector<Shown> shown;
    std::vector<QString> notices;
    std::vector<QString> copyable; // the address each address notice copies
    std::function<void()> whileShown;

private:
    void Inside();
    std::deque<Answer> script_;
};

} // namespace wd::test
