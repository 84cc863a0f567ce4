#pragma once
// Message boxes that show nothing: each message is recorded with its text, and
// answered from a script (OK once the script is used up).
#include <deque>
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
    void Script(Answer answer) { script_.push_back(answer); }

    std::vector<Shown> shown;
    std::vector<QString> notices;

private:
    std::deque<Answer> script_;
};

} // namespace wd::test
