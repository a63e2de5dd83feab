#pragma once
#include <optional>

#include "cubes/cube.h"
#include "minimize/observer.h"

// For functions with few primes: the cheapest cover made of all multi-output primes (terms first,
// then literals), found by the covering search within fixed limits of work, so that the result
// repeats on any machine. The heuristic's loop only ever sees the primes its expansions reach;
// on small functions this closes most of the gap to the minimum at little cost.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct PrimeCoverLimits {
    int max_primes = 1500;
    unsigned long long prime_work = 1000000;  // cubes met while generating the primes
    unsigned long long row_work = 200000;     // primes met while splitting the covering rows
    int max_core_columns = 500;               // primes left to choose from after the reductions
    long search_nodes = 200;                  // of the branch and bound
};

// None when the function has more primes, or needs more work, than the limits allow, or when
// the observer says stop.
std::optional<cubes::Cover> cover_from_all_primes(const cubes::Cover& on, const cubes::Cover& dc,
                                                  const cubes::Space& s, Observer& observer,
                                                  const PrimeCoverLimits& limits = {});

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
