#include "fakes/FakeMessageBoxes.h"

namespace wd::test {

Answer FakeMessageBoxes::Show(MessageId id, const QString& answer)
{
    shown.push_back({id, MessageText(id, answer)});
    if (script_.empty()) return Answer::Ok;
    const Answer a = script_.front();
    script_.pop_front();
    return a;
}

} // namespace wd::test
