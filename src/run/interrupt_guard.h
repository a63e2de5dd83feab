#pragma once
#include <string>

namespace vormel {

// Keeps an interrupted program (SIGINT, SIGTERM, SIGHUP) from leaving report temporaries behind or
// stopping between the renames of a report's two files. Only the console program installs the
// handlers; without them the guards below change nothing.
void install_interrupt_cleanup();

// While alive, an interrupt removes the file first (a temporary not yet renamed into place).
class RemovedOnInterrupt {
public:
    explicit RemovedOnInterrupt(const std::string& path);
    ~RemovedOnInterrupt();
    RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
    RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

private:
    int slot_ = -1;
};

// While alive, an interrupt waits; it takes effect when the object goes (the renames of one report).
class InterruptsDeferred {
public:
    InterruptsDeferred();
    ~InterruptsDeferred();
    InterruptsDeferred(const InterruptsDeferred&) = delete;
    InterruptsDeferred& operator=(const InterruptsDeferred&) = delete;
};

}  // namespace vormel
