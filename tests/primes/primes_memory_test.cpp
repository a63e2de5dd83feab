#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <fstream>

#include "prime_test_support.h"
#include "primes/cns.h"

namespace vormel::testing {
namespace {

#if !defined(__SANITIZE_ADDRESS__)
long address_space_bytes() {
    std::ifstream in("/proc/self/statm");
    long pages = 0;
    in >> pages;
    return pages * 4096;
}

// With the address space capped a little above what the problem holds, the consensus recursion
// runs out of memory: the run ends with the out-of-memory report instead of a crash.
void generate_with_capped_memory() {
    std::mt19937 rng(5);
    PrimeBench bench(0, polarity_one_set);
    make_problem(bench.problem, 14, 1);
    randomize(bench.problem, rng, 0.5, 0.1);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(address_space_bytes() + 500'000);
    setrlimit(RLIMIT_AS, &limit);
    Primes_CNS(bench.ctx, bench.problem, bench.store);
    const std::string& text = bench.area.text();
    const bool reported = text.find(" *** Error   7: Out of memory in SUB cofactor_CNS\n"
                                    " *** Sorry, your Data Set is too large for this Computer/Program") != std::string::npos;
    std::exit(bench.ctx.failed() && reported ? 0 : 1);
}

TEST(PrimesMemory, OutOfMemoryInTheRecursionEndsTheRunWithItsReport) {
    // A freshly started child: free memory that earlier tests left in the heap would let the
    // recursion go on without new address space.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(generate_with_capped_memory(), ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
}  // namespace vormel::testing
