#include "minimize/exact.h"

#include <algorithm>

#include "cubes/cover_columns.h"

#include "minimize/all_primes.h"
#include "minimize/cover_solver.h"
#include "minimize/covering_reduction.h"
#include "minimize/covering_rows.h"
#include "minimize/make_sparse.h"
#include "minimize/point_bound.h"
#include "minimize/quick_cover.h"
#include "minimize/work_budget.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;

namespace {

void set_cover(ExactResult& result, Cover cover, const cubes::Space& s) {
    result.cover = std::move(cover);
    result.terms = static_cast<int>(result.cover.size());
    result.literals = 0;
    for (const cubes::Cube& c : result.cover) result.literals += cubes::literal_count(c, s);
    result.proven = result.terms <= result.lower_bound;
}

}  // namespace

ExactResult minimize_exact(const Cover& on, const Cover& dc, const Cover& off, const cubes::Space& s,
                           const ExactParams& params, Observer& observer) {
    ExactResult result;
    WorkBudget budget(observer, params.time_limit_seconds);
    double phase_start = 0;
    auto lap = [&](double& seconds) {
        const double now = budget.elapsed();
        seconds = now - phase_start;
        phase_start = now;
    };
    auto fall_back = [&] {
        result.stopped = result.fallback = true;
        result.lower_bound = std::max(result.lower_bound, incompatible_points_bound(on, off, s));
        set_cover(result, quick_cover(on, off, s), s);
        result.total_seconds = budget.elapsed();
        observer.pass_done("Quick Cover", result.cover);
        return result;
    };

    observer.phase("Primes");
    Cover f = on;
    f.insert(f.end(), dc.begin(), dc.end());
    Cover primes;
    PrimeStats prime_stats;
    // A stop is noticed at every phase boundary, not only at the next poll inside a phase.
    const bool have_primes = !budget.exhausted() && all_primes(f, s, budget, primes, prime_stats);
    lap(result.primes_seconds);
    if (!have_primes) return fall_back();
    result.prime_count = static_cast<int>(primes.size());

    observer.phase("Covering Rows");
    CoveringMatrix matrix;
    RowStats row_stats;
    const bool have_rows = !budget.exhausted() && covering_rows(on, primes, s, budget, matrix, row_stats);
    lap(result.rows_seconds);
    if (!have_rows) return fall_back();
    result.row_count = static_cast<int>(matrix.rows.size());

    observer.phase("Reduction");
    std::vector<int> cost(primes.size());
    for (std::size_t p = 0; p < primes.size(); ++p) cost[p] = cubes::literal_count(primes[p], s);
    const ReducedCovering reduced = reduce_covering(matrix, cost);
    lap(result.reduce_seconds);
    result.essential_count = static_cast<int>(reduced.chosen.size());
    result.core_rows = static_cast<int>(reduced.core.rows.size());
    result.core_columns = reduced.core.columns;

    observer.phase("Minimum Cover");
    std::vector<int> core_cost;
    for (int c : reduced.core_columns) core_cost.push_back(cost[static_cast<std::size_t>(c)]);
    const MinimumCover best = minimum_cover(reduced.core, core_cost, budget);
    lap(result.solve_seconds);
    result.solver_nodes = best.solver_nodes;
    result.stopped = best.stopped;
    result.literals_proven = best.cost_proven;
    result.lower_bound = result.essential_count + best.lower_bound;
    std::vector<int> chosen = reduced.chosen;
    for (int c : best.columns) chosen.push_back(reduced.core_columns[static_cast<std::size_t>(c)]);
    std::sort(chosen.begin(), chosen.end());
    Cover cover;
    for (int c : chosen) cover.push_back(primes[static_cast<std::size_t>(c)]);
    // A prime feeds every output it can; the connections the other terms make needless go, and a
    // term that lost one may lose literals too. The term count stays.
    const cubes::CoverColumns off_columns(off, s);
    StopCheck stop(observer);
    make_sparse(cover, dc, GrowthBound(off_columns), s, stop);
    set_cover(result, std::move(cover), s);
    result.total_seconds = budget.elapsed();
    observer.pass_done("Minimum Cover", result.cover);
    return result;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
