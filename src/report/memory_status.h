#pragma once
#include <cstdint>
#include <functional>

namespace vormel {

struct MemoryStatus {
    int physical_load_percent = 0;     // share of physical memory in use
    std::uint64_t total_physical = 0;  // bytes
    std::uint64_t total_virtual = 0;   // bytes the process may use
    std::uint64_t available_virtual = 0;
};

// Reads /proc/meminfo and the process's own figures. Returns zeros where the system gives nothing.
MemoryStatus read_memory_status();

// Hands memory that was freed but kept by the allocator back to the system, so that the next step's
// large tables do not come on top of it.
void return_freed_memory();

using MemoryProbe = std::function<MemoryStatus()>;

}  // namespace vormel
