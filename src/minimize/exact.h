#pragma once
#include "cubes/cube.h"
#include "minimize/observer.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct ExactParams {
    double time_limit_seconds = 60;
};

struct ExactResult {
    cubes::Cover cover;           // primes (or, after a fallback, raised ON cubes) covering ON, missing OFF
    int terms = 0;
    int lower_bound = 0;          // no cover has fewer terms
    bool proven = false;          // terms == lower_bound
    bool literals_proven = false; // and no cover of that many terms has fewer input literals
    bool stopped = false;         // the time limit or a Break cut the search short
    bool fallback = false;        // stopped before a cover of primes existed: quick_cover was used
    int literals = 0;             // input literals of the cover
    int prime_count = 0;
    int row_count = 0;            // rows after duplicates were merged
    int essential_count = 0;
    int core_rows = 0;            // left for the solver after the reductions
    int core_columns = 0;
    long long solver_nodes = 0;
    double primes_seconds = 0;
    double rows_seconds = 0;
    double reduce_seconds = 0;
    double solve_seconds = 0;
    double total_seconds = 0;     // the phases plus a quick cover after a stop
};

// A cover of all outputs together with the fewest terms, and the fewest input literals among
// those: all multi-output primes of ON + DC, the covering problem of ON by them (rows from
// split ON cubes, reduced by essentials and dominance), a minimum cover by branch and cut, and
// then no output connection a term does not need.
// When the time limit or the observer stops it, the best cover found so far comes back with the
// bound reached; before a cover of primes exists that is a quick valid cover. ON, DC and OFF
// must split the space; the cover always contains ON and misses OFF.
ExactResult minimize_exact(const cubes::Cover& on, const cubes::Cover& dc, const cubes::Cover& off,
                           const cubes::Space& space, const ExactParams& params, Observer& observer);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
