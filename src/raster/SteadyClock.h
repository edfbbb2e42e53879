#pragma once

#include <chrono>
#include <cstdint>

#include "scene/SceneSeams.h"

// The scene's clock from the standard library's steady clock, counting nanoseconds.
class SteadyClock final : public SceneClock {
  public:
    std::int64_t CounterFrequency() override { return 1000000000; }
    std::int64_t CounterValue() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    }
};
