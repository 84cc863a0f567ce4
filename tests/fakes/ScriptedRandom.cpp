#include "fakes/ScriptedRandom.h"

namespace wd::test {

float ScriptedRandom::Next()
{
    ++draws;
    if (!script_.empty()) {
        last_ = script_.front();
        script_.pop_front();
    }
    return last_;
}

} // namespace wd::test
