#pragma once
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/problem.h"
#include "primes/prime_store.h"
#include "report/run_context.h"
#include "report/text_work_area.h"

namespace vormel::testing {

// A run context on a text work area with a window that always answers Continue.
struct PrimeBench {
    TextWorkArea area;
    SilentRunWindow window;
    RunContext ctx{area, window};
    Problem problem;
    PrimeStore store;

    PrimeBench(int display_level, int polarity_mode) {
        ctx.options.display_level = display_level;
        ctx.options.polarity_mode = polarity_mode;
        ctx.options.page_by_page = 0;
    }
    // The report lines (without the line ends).
    std::vector<std::string> lines() const;
    // The stored primes of (output, value) as "01-" strings, in store order.
    std::vector<std::string> stored(int output, int value) const;
};

// A problem of `inputs` inputs x0.. and `outputs` outputs named f, g, h, .. (or y<j>), every
// expanded Y entry 0, polarity all ones.
void make_problem(Problem& problem, int inputs, int outputs);
// Sets the Y value of one minterm.
inline void set_y(Problem& problem, int minterm, int output, std::uint8_t value) {
    problem.extab.y(minterm)[output] = value;
}
// Fills every Y entry at random: a 1 with probability ones, a don't care with probability dcs.
void randomize(Problem& problem, std::mt19937& rng, double ones, double dcs);

// The primes of {minterms with value v or "-"} of one output, found by checking every cube.
std::set<std::string> brute_force_primes(const Problem& problem, int output, int value);

// The straightforward comparison steps on byte rows (linear duplicate scan): the prime order that
// the fast generator must reproduce.
std::vector<std::string> reference_qmc(const Problem& problem, int output, int value);
// Recursive consensus on byte rows changed in place, with the free-row stack, the final compaction
// and the position-weight order (stable): the order the fast generator must reproduce.
std::vector<std::string> reference_cns(const Problem& problem, int output, int value);

}  // namespace vormel::testing
