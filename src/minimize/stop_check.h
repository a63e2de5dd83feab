#pragma once
#include <atomic>
#include <thread>

#include "minimize/observer.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// The engine's phases ask this between cubes whether to go on. Only the thread that created it
// consults the observer; helper threads see the flag it sets (or that request_stop sets).
class StopCheck {
public:
    explicit StopCheck(Observer& observer) : observer_(&observer), owner_(std::this_thread::get_id()) {}
    StopCheck() = default;  // never stops unless asked to
    // Stops when asked to or when `outer` stops: work that may also end early for its own reasons.
    explicit StopCheck(const StopCheck* outer) : outer_(outer) {}

    bool operator()() {
        if (observer_ && !stopped_.load(std::memory_order_relaxed) && std::this_thread::get_id() == owner_ &&
            !observer_->keep_going())
            stopped_.store(true, std::memory_order_relaxed);
        return stopped();
    }
    void request_stop() { stopped_.store(true, std::memory_order_relaxed); }
    bool stopped() const { return stopped_.load(std::memory_order_relaxed) || (outer_ && outer_->stopped()); }

private:
    Observer* observer_ = nullptr;
    const StopCheck* outer_ = nullptr;
    std::thread::id owner_;
    std::atomic<bool> stopped_{false};
};

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
