#include "run/interrupt_guard.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace vormel {

namespace {

// Everything the handler reads is a lock-free atomic or a path published through one, so it may run
// on any thread at any moment.
constexpr int kSlots = 4;
char slot_paths[kSlots][PATH_MAX];
std::atomic<int> slot_used[kSlots];
std::atomic<int> deferring{0};
std::atomic<int> pending_signal{0};
constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

void on_interrupt(int signal_number) {
    if (deferring.load() != 0) {
        pending_signal.store(signal_number);
        return;
    }
    for (int i = 0; i < kSlots; ++i) {
        if (slot_used[i].load(std::memory_order_acquire) == 1) ::unlink(slot_paths[i]);
    }
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
}

}  // namespace

void install_interrupt_cleanup() {
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal_number : kInterrupts) ::sigaction(signal_number, &action, nullptr);
}

RemovedOnInterrupt::RemovedOnInterrupt(const std::string& path) {
    if (path.size() >= PATH_MAX) return;
    for (int i = 0; i < kSlots; ++i) {
        int expected = 0;
        // 2 reserves the slot while its path is written; the handler only looks at 1.
        if (!slot_used[i].compare_exchange_strong(expected, 2)) continue;
        std::memcpy(slot_paths[i], path.c_str(), path.size() + 1);
        slot_used[i].store(1, std::memory_order_release);
        slot_ = i;
        return;
    }
}

RemovedOnInterrupt::~RemovedOnInterrupt() {
    if (slot_ >= 0) slot_used[slot_].store(0, std::memory_order_release);
}

InterruptsDeferred::InterruptsDeferred() { deferring.fetch_add(1); }

InterruptsDeferred::~InterruptsDeferred() {
    if (deferring.fetch_sub(1) != 1) return;
    const int signal_number = pending_signal.exchange(0);
    if (signal_number != 0) ::raise(signal_number);
}

}  // namespace vormel
