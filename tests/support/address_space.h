#pragma once
// Capping the address space of a test's child process, to make memory run out on purpose.
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

namespace vormel::testing {

// What the process holds now.
inline long address_space_bytes() {
    std::ifstream in("/proc/self/statm");
    long pages = 0;
    in >> pages;
    return pages * ::sysconf(_SC_PAGESIZE);
}

// Only the soft limit, so that RLIM_INFINITY lifts it again.
inline void cap_address_space(rlim_t bytes) {
    rlimit limit{};
    ::getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_AS, &limit);
}

}  // namespace vormel::testing
