#pragma once
// Records the addresses a screen asks to open.
#include <QStringList>

#include "platform/UrlOpener.h"

namespace wd::test {

class FakeUrlOpener final : public UrlOpener {
public:
    bool Open(const QString& address) override
    {
        opened << address;
        return answer;
    }
    QStringList opened;
    bool answer = true;
};

} // namespace wd::test
