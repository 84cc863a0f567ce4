#include "fakes/ScreenRig.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>

namespace wd::test {

ScreenRig::ScreenRig()
    : bank(session, random, "no-such-file.bin"),
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
