#pragma once
#include <chrono>
#include <functional>

namespace vormel {

// Seconds on a monotonic clock; replaceable so that tests can drive the timers.
using Clock = std::function<double()>;

inline double monotonic_seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace vormel
