#pragma once
#include "cubes/cube.h"
#include "minimize/observer.h"

// The shared multi-output heuristic: all outputs are minimized together on cubes, never on
// minterms, by the expand / irredundant / reduce loop with essential primes set aside, LAST_GASP
// when the loop stalls and MAKE_SPARSE at the end (Brayton, Hachtel, McMullen,
// Sangiovanni-Vincentelli, "Logic Minimization Algorithms for VLSI Synthesis", 1984; Rudell,
// "Logic Synthesis for VLSI Design", 1989). The first run starts twice side by side, once from the
// ON cover as given and once from it cut into one cube per output, and keeps the cheaper result;
// each run loops once more from its MAKE_SPARSE result.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct HeuristicParams {
    int restarts = 0;          // further seeded runs with other expansion and reduce orders, alternating
                               // the two starts; the best run wins (the lowest number on a tie), and
                               // one more IRREDUNDANT over all runs' cubes may do better still
    bool make_sparse = true;   // drop output connections and literals the function does not need
    bool loop = true;          // false: one expansion and IRREDUNDANT only, a quick estimate for
                               // searches over many functions
    bool all_primes = true;    // also try the cheapest cover over all primes when they are few
    bool both_starts = true;   // false: the first run from the ON cover as given only (half the work,
                               // for searches that already run many minimizations side by side)
    bool off_known = true;     // false: off is empty because it was too large to build; the cubes
                               // grow inside on and dc instead (a containment test per raised part)
};

struct HeuristicPhaseSeconds {
    double expand = 0;
    double irredundant = 0;
    double essential = 0;
    double reduce = 0;
    double last_gasp = 0;
    double make_sparse = 0;
    double restarts = 0;  // wall time of all further runs and their union together
    double all_primes = 0;
};

struct HeuristicStats {
    int passes = 0;           // reduce-expand-irredundant passes of the winning run
    int essential_primes = 0;
    int terms_before = 0;     // of the ON cover
    int literals_before = 0;  // input literals
    int terms_after = 0;
    int literals_after = 0;
    int best_restart = 0;     // the run whose cover won: 0 is the first run
    bool pooled = false;      // the result mixes cubes of several runs
    bool from_all_primes = false;  // the result is the cover over all primes
    bool unique_minimum = false;   // every prime of the first run's cover was essential: no cover has
                                   // fewer terms, and the other runs were ended unused
    HeuristicPhaseSeconds seconds;  // of the first run, plus the restarts' wall time
};

struct HeuristicResult {
    cubes::Cover cover;
    HeuristicStats stats;
    bool stopped = false;
};

// on, dc and off partition the space per output (off is the complement of on and dc, or empty
// when params.off_known is false). The result
// covers every ON point of every output and no OFF point; its cubes are prime (in their input
// parts only, after MAKE_SPARSE) and it is irredundant. Restarts run in parallel; the result is
// the same for any number of threads. When observer.keep_going() turns false, the best valid cover
// at hand comes back with stopped set. std::bad_alloc propagates.
HeuristicResult minimize_heuristic(const cubes::Cover& on, const cubes::Cover& dc, const cubes::Cover& off,
                                   const cubes::Space& space, const HeuristicParams& params, Observer& observer);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
