#include "fakes/ScreenRig.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>

namespace wd::test {

ScreenRig::ScreenRig() : ScreenRig("no-such-file.bin") {}

ScreenRig::ScreenRig(const std::filesystem::path& questionFile)
    : bank(session, random, questionFile),
      screens(Services{session, bank, messages, random, urls}, [this] { ++programEnds; })
{
}

ScreenRig::~ScreenRig() { FlushDeletes(); }

void ScreenRig::FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

bool ScreenRig::WaitUntil(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace wd::test
