#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vormel {

// Lets work that needs much memory run side by side only while the sum of what it holds stays
// within a budget; work larger than the budget runs when nothing else holds any. Callers must not
// wait for it from inside work that holds memory (no nesting).
class MemoryGate {
public:
    explicit MemoryGate(std::int64_t budget_bytes) : budget_(budget_bytes) {}

    void acquire(std::int64_t bytes);
    void release(std::int64_t bytes);

private:
    std::mutex mutex_;
    std::condition_variable freed_;
    std::int64_t budget_;
    std::int64_t held_ = 0;
};

// Holds bytes of a gate for a scope.
class GatePass {
public:
    GatePass(MemoryGate& gate, std::int64_t bytes) : gate_(gate), bytes_(bytes) { gate_.acquire(bytes_); }
    ~GatePass() { gate_.release(bytes_); }
    GatePass(const GatePass&) = delete;
    GatePass& operator=(const GatePass&) = delete;

private:
    MemoryGate& gate_;
    std::int64_t bytes_;
};

}  // namespace vormel
