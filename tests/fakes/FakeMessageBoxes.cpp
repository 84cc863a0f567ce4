#include "fakes/FakeMessageBoxes.h"

#include <utility>

namespace wd::test {

Answer FakeMessageBoxes::Show(MessageId id, const QString& answer)
{
    shown.push_back({id, MessageText(id, answer)});
    Inside();
    if (script_.empty()) return Answer::Ok;
    const Answer a = script_.front();
    script_.pop_front();
    return a;
}

void FakeMessageBoxes::AddressNotice(const QString& text, const QString& address)
{
    notices.push_back(text);
    copyable.push_back(address);
    Inside();
}

void FakeMessageBoxes::Inside()
{
    if (const auto inside = std::exchange(whileShown, nullptr)) inside();
}

} // namespace wd::test
