#include "minimize/prime_cover.h"

#include <algorithm>

#include "minimize/all_primes.h"
#include "minimize/cover_cost.h"
#include "minimize/covering_reduction.h"
#include "minimize/covering_rows.h"
#include "minimize/min_cover.h"
#include "minimize/work_budget.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;

namespace {

// No time limit: only the work limits and the observer end the search.
constexpr double kNoTimeLimit = 1e9;

}  // namespace

std::optional<Cover> cover_from_all_primes(const Cover& on, const Cover& dc, const cubes::Space& s,
                                           Observer& observer, const PrimeCoverLimits& limits) {
    WorkBudget prime_budget(observer, kNoTimeLimit);
    prime_budget.limit_work(limits.prime_work);
    Cover f = on;
    f.insert(f.end(), dc.begin(), dc.end());
    Cover primes;
    PrimeStats prime_stats;
    if (!all_primes(f, s, prime_budget, primes, prime_stats, static_cast<std::size_t>(std::max(0, limits.max_primes))))
        return std::nullopt;

    WorkBudget row_budget(observer, kNoTimeLimit);
    row_budget.limit_work(limits.row_work);
    CoveringMatrix matrix;
    RowStats row_stats;
    if (!covering_rows(on, primes, s, row_budget, matrix, row_stats)) return std::nullopt;

    // Terms first, literals on a tie, as the heuristic counts (the reduction counts columns first).
    const std::vector<int> literals = literal_counts(primes, s);
    const ReducedCovering reduced = reduce_covering(matrix, literals);
    if (reduced.core.columns > limits.max_core_columns) return std::nullopt;
    CoveringProblem core;
    core.columns = reduced.core.columns;
    core.rows = reduced.core.rows;
    std::vector<int> core_literals;
    for (int c : reduced.core_columns) core_literals.push_back(literals[static_cast<std::size_t>(c)]);
    core.cost = terms_first_costs(core_literals);
    if (!observer.keep_going()) return std::nullopt;
    const CoveringResult best = min_cover(core, CoverSearch{limits.search_nodes, 100});

    Cover cover;
    for (int c : reduced.chosen) cover.push_back(primes[static_cast<std::size_t>(c)]);
    for (int c : best.chosen) cover.push_back(primes[static_cast<std::size_t>(reduced.core_columns[static_cast<std::size_t>(c)])]);
    return cover;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
