#pragma once
// Records the addresses a screen asks to open and decides each launch: at once
// with `answer`, or, while `late` is set, only when the test calls Decide.
#include <deque>

#include <QStringList>

#include "platform/UrlOpener.h"

namespace wd::test {

class FakeUrlOpener final : public UrlOpener {
public:
    void Open(const QString& address, Decided decided) override
    {
        opened << address;
        if (late) waiting.push_back(std::move(decided));
        else decided(answer);
    }
    // Decides the oldest launch still waiting.
    void Decide(bool opened)
    {
        Decided decided = std::move(waiting.front());
        waiting.pop_front();
        decided(opened);
    }

    QStringList opened;
    bool answer = true;
    bool late = false;
    std::deque<Decided> waiting;
};

} // namespace wd::test
