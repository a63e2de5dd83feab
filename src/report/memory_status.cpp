#include "report/memory_status.h"

#include <sys/resource.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <fstream>
#include <string>

namespace vormel {

namespace {
// A field of /proc/meminfo in bytes, 0 when absent.
std::uint64_t meminfo_field(const std::string& text, const std::string& key) {
    const auto at = text.find(key + ":");
    if (at == std::string::npos) return 0;
    return std::stoull(text.substr(at + key.size() + 1)) * 1024;
}

std::uint64_t process_virtual_size() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    return pages * 4096;
}
}  // namespace

MemoryStatus read_memory_status() {
    MemoryStatus status;
    std::ifstream file("/proc/meminfo");
    if (!file) return status;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    status.total_physical = meminfo_field(text, "MemTotal");
    const std::uint64_t available = meminfo_field(text, "MemAvailable");
    if (status.total_physical > 0) {
        status.physical_load_percent =
            static_cast<int>((status.total_physical - available) * 100 / status.total_physical);
    }
    // Linux sets no process-wide address-space limit by default: measure against physical memory
    // plus swap, or the address-space limit when one is set.
    std::uint64_t total_virtual = status.total_physical + meminfo_field(text, "SwapTotal");
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) total_virtual = limit.rlim_cur;
    status.total_virtual = total_virtual;
    const std::uint64_t used = process_virtual_size();
    status.available_virtual = used < total_virtual ? total_virtual - used : 0;
    return status;
}

void return_freed_memory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace vormel
