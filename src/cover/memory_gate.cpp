#include "cover/memory_gate.h"

namespace vormel {

void MemoryGate::acquire(std::int64_t bytes) {
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [&] { return held_ == 0 || held_ + bytes <= budget_; });
    held_ += bytes;
}

void MemoryGate::release(std::int64_t bytes) {
    {
        const std::lock_guard lock(mutex_);
        held_ -= bytes;
    }
    freed_.notify_all();
}

}  // namespace vormel
