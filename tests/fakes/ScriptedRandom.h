#pragma once
// A random source that hands out the numbers a test scripts, then repeats the last.
#include <deque>

#include "platform/Random.h"

namespace wd::test {

class ScriptedRandom final : public RandomSource {
public:
    void Push(float r) { script_.push_back(r); }
    void Reseed() override { ++reseeds; }
    float Next() override;

    int reseeds = 0;
    int draws = 0;

private:
    std::deque<float> script_;
    float last_ = 0.0f;
};

} // namespace wd::test
