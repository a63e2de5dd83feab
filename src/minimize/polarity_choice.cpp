#include "minimize/polarity_choice.h"

#include "minimize/phase_estimate.h"
#include "report/run_threads.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <string>

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

namespace {

using Assignment = std::vector<int>;

std::string digits(const Assignment& polarity) {
    std::string text;
    for (int v : polarity) text += static_cast<char>('0' + v);
    return text;
}

// All assignments minimized side by side; results in the order given, whatever the thread count.
std::vector<PolarityChoice> minimize_all(const cubes::FunctionCovers& f, const std::vector<Assignment>& assignments,
                                         const PolarityMinimizer& minimize, const std::function<bool()>& stop) {
    std::vector<PolarityChoice> out(assignments.size());
    threads::for_each_index(std::size_t{0}, assignments.size(), [&](std::size_t k) {
        PolarityChoice& c = out[k];
        c.polarity = assignments[k];
        if (stop()) {
            c.stopped = true;
            return;
        }
        c.cover = minimize(cubes::with_polarity(f, c.polarity), stop);
        c.cost = cover_cost(c.cover, f.space);
        c.tried = 1;
        c.stopped = stop();
    });
    return out;
}

// Takes the first of the cheapest; reports every assignment tried.
void keep_best(PolarityChoice& best, std::vector<PolarityChoice>& tried, Observer& observer) {
    for (PolarityChoice& c : tried) {
        best.stopped |= c.stopped;
        if (c.tried == 0) continue;
        best.tried += c.tried;
        observer.pass_done("Polarity " + digits(c.polarity), c.cover);
        if (c.cost < best.cost) {
            best.polarity = std::move(c.polarity);
            best.cover = std::move(c.cover);
            best.cost = c.cost;
        }
    }
}

// Output j alone, in a space of one output.
cubes::FunctionCovers single_output(const cubes::FunctionCovers& f, int j) {
    cubes::FunctionCovers g;
    g.space = cubes::Space::of(f.space.nx, 1);
    auto take = [j](const cubes::Cover& from, cubes::Cover& to) {
        for (const cubes::Cube& c : from) {
            if (cubes::has_output(c, j)) to.push_back(cubes::Cube{c.in, cubes::OutBits::bit(0)});
        }
    };
    take(f.on, g.on);
    take(f.dc, g.dc);
    take(f.off, g.off);
    return g;
}

// Each output's cheaper phase when minimized alone (normal on a tie).
// Their covers go to the pool.
Assignment phases_alone(const cubes::FunctionCovers& f, const PolarityMinimizer& minimize,
                        const std::function<bool()>& stop, PhasePool& pool) {
    const int ny = f.space.ny;
    std::vector<CoverCost> costs(static_cast<std::size_t>(2 * ny));
    std::vector<cubes::Cover> covers(static_cast<std::size_t>(2 * ny));
    threads::for_each_index(0, 2 * ny, [&](int k) {
        if (stop()) return;
        const cubes::FunctionCovers single = single_output(f, k / 2);
        const int polarity = 1 - k % 2;
        covers[k] = minimize(cubes::with_polarity(single, {polarity}), stop);
        costs[k] = cover_cost(covers[k], single.space);
    });
    for (int k = 0; k < 2 * ny; ++k) pool.add_output(covers[k], k / 2, 1 - k % 2);
    Assignment phases(static_cast<std::size_t>(ny), 1);
    for (int j = 0; j < ny; ++j) {
        if (costs[2 * j + 1] < costs[2 * j]) phases[j] = 0;
    }
    return phases;
}

}  // namespace

PolarityChoice choose_polarity_automatic(const cubes::FunctionCovers& f, const PolarityChoice& all_normal,
                                         const PolarityMinimizer& minimize, const std::function<bool()>& stop,
                                         Observer& observer) {
    const int ny = f.space.ny;
    PolarityChoice best = all_normal;
    PhasePool pool(f.space);
    pool.add(all_normal.cover, all_normal.polarity);
    observer.phase("Phases of single Outputs");
    const Assignment alone = phases_alone(f, minimize, stop, pool);
    observer.phase("Polarity Assignments");
    const Assignment all_inverted(static_cast<std::size_t>(ny), 0);
    std::vector<Assignment> first{all_inverted};
    if (alone != all_inverted && alone != all_normal.polarity) first.push_back(alone);
    std::vector<PolarityChoice> tried = minimize_all(f, first, minimize, stop);
    for (const PolarityChoice& c : tried) pool.add(c.cover, c.polarity);
    keep_best(best, tried, observer);
    // The phases that need the fewest of all the terms found so far, minimized as a whole.
    const Assignment estimate = pool.fewest_cubes();
    if (best.stopped || estimate == all_normal.polarity || std::find(first.begin(), first.end(), estimate) != first.end())
        return best;
    tried = minimize_all(f, {estimate}, minimize, stop);
    keep_best(best, tried, observer);
    return best;
}

PolarityChoice choose_polarity_combination(const cubes::FunctionCovers& f, const PolarityMinimizer& estimate,
                                           const PolarityMinimizer& minimize, const std::function<bool()>& stop,
                                           Observer& observer, int refined) {
    const int ny = f.space.ny;
    std::vector<Assignment> all;
    for (unsigned k = 0; k < (1u << ny); ++k) {
        Assignment a(static_cast<std::size_t>(ny));
        for (int j = 0; j < ny; ++j) a[j] = 1 - static_cast<int>((k >> j) & 1u);
        all.push_back(std::move(a));
    }
    observer.phase("All Polarity Combinations");
    std::vector<PolarityChoice> tried = minimize_all(f, all, estimate, stop);
    // The cheapest estimates (the earlier on a tie) are minimized in full.
    std::vector<std::size_t> order(tried.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return tried[a].cost < tried[b].cost; });
    std::vector<Assignment> best_estimates;
    for (std::size_t k : order) {
        if (static_cast<int>(best_estimates.size()) == refined) break;
        if (tried[k].tried != 0) best_estimates.push_back(tried[k].polarity);
    }
    PolarityChoice best;
    best.cost = CoverCost{std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};
    keep_best(best, tried, observer);
    if (best.stopped) return best;
    const int screened = best.tried;
    observer.phase("Best Polarity Combinations");
    tried = minimize_all(f, best_estimates, minimize, stop);
    keep_best(best, tried, observer);
    best.tried = screened;
    return best;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
