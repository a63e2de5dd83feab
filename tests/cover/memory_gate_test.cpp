#include "cover/memory_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace vormel {
namespace {

TEST(MemoryGate, WorkBeyondTheBudgetWaitsForRoomAndLargeWorkRunsAlone) {
    MemoryGate gate(512);
    gate.acquire(200);
    gate.acquire(300);  // within the budget: no wait
    std::atomic<bool> entered{false};
    std::thread late([&] {
        const GatePass pass(gate, 100);  // 600 > 512: waits
        entered = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(entered);
    gate.release(300);
    late.join();
    EXPECT_TRUE(entered);
    gate.release(200);

    // Larger than the whole budget: runs once nothing else holds any.
    gate.acquire(2000);
    gate.release(2000);
}

}  // namespace
}  // namespace vormel
