#include "minimize/expand.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <numeric>

#include "cubes/cover_algebra.h"
#include "minimize/grow_inside.h"
#include "minimize/seeded_shuffle.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

namespace {

inline bool fits(const Cube& d, const Growth& g) {
    return (d.in & ~(g.raise.in | g.free.in)).none() && (d.out & ~(g.raise.out | g.free.out)).none();
}

// Calls fn(w, rows) for every word w of f's columns with the rows (bit k: cube 64w + k) inside
// `bound`: those with no part outside it. Empty cubes have no row and are looked at one by one.
template <typename WordFn>
void for_each_inside_word(const Cover& f, const cubes::CoverColumns& columns, const Cube& bound, WordFn&& fn) {
    const Space& s = columns.space();
    const cubes::InBits in_outside = s.in_full & ~bound.in;
    const cubes::OutBits out_outside = s.out_full & ~bound.out;
    const std::uint64_t* present = columns.present();
    const int words = columns.words();
    const std::uint64_t last_word_rows = f.size() % 64 == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << (f.size() % 64)) - 1;
    for (int w = 0; w < words; ++w) {
        std::uint64_t inside = present[w];
        const std::uint64_t absent = ~inside & (w + 1 < words ? ~std::uint64_t{0} : last_word_rows);
        in_outside.for_each([&](int b) { inside &= ~columns.input(b)[w]; });
        if (inside) out_outside.for_each([&](int j) { inside &= ~columns.output(j)[w]; });
        for (std::uint64_t m = absent; m; m &= m - 1) {
            const std::size_t k = 64 * static_cast<std::size_t>(w) + static_cast<std::size_t>(std::countr_zero(m));
            if (cubes::contains(bound, f[k])) inside |= m & (~m + 1);
        }
        fn(w, inside);
    }
}

// Calls fn(k), k ascending, for every cube of f inside `bound`: through f's columns when given,
// else cube by cube.
template <typename Fn>
void for_each_inside(const Cover& f, const cubes::CoverColumns* columns, const Cube& bound, Fn&& fn) {
    if (!columns) {
        for (std::size_t k = 0; k < f.size(); ++k)
            if (cubes::contains(bound, f[k])) fn(k);
        return;
    }
    for_each_inside_word(f, *columns, bound, [&](int w, std::uint64_t inside) {
        for (; inside; inside &= inside - 1) fn(64 * static_cast<std::size_t>(w) + static_cast<std::size_t>(std::countr_zero(inside)));
    });
}

inline int new_parts(const Cube& raise, const Cube& d) {
    return (d.in & ~raise.in).count() + (d.out & ~raise.out).count();
}

// Raise the free part that the fewest rows use as a conflict (input parts before output parts on
// a tie): it narrows the remaining choices least.
void raise_least_blocked(Growth& g, BlockingRows& rows) {
    int best_count = INT_MAX;
    Cube best;
    g.free.in.for_each([&](int bit) {
        const int count = rows.input_blockers(bit);
        if (count < best_count) {
            best_count = count;
            best = Cube{cubes::InBits::bit(bit), {}};
        }
    });
    g.free.out.for_each([&](int bit) {
        const int count = rows.output_blockers(bit);
        if (count < best_count) {
            best_count = count;
            best = Cube{{}, cubes::OutBits::bit(bit)};
        }
    });
    rows.raise(g, best);
}

// Swallows whole cubes of `targets` (those in work.feasible) while one can be taken; takes the one
// whose supercube with the growing cube contains most of the others that could be taken, then the
// one adding fewest parts. Cubes that fit the free parts but would make the cube meet a row go to
// work.candidates.
void swallow_cubes(Growth& g, const Cover& targets, ExpandWork& work, const Space& s) {
    auto& feasible = work.feasible;
    auto& blocked = work.candidates;
    for (;;) {
        std::size_t kept = 0;
        for (int i : feasible) {
            if (!fits(targets[i], g) || cubes::contains(g.raise, targets[i])) continue;
            if (work.rows.meets_after(g, targets[i]))
                blocked.push_back(i);
            else
                feasible[kept++] = i;
        }
        feasible.resize(kept);
        if (feasible.empty()) return;
        // How many feasible cubes a supercube swallows, through their columns: counting pair by pair
        // read every cube for every candidate, most of the expansion's time.
        Cover& now = work.feasible_cubes;
        now.clear();
        for (int i : feasible) now.push_back(targets[i]);
        const cubes::CoverColumns columns(now, s);
        int best = -1, best_swallowed = -1, best_new = INT_MAX;
        for (int i : feasible) {
            int swallowed = 0;
            for_each_inside_word(now, columns, cubes::supercube(g.raise, targets[i]),
                                 [&](int, std::uint64_t rows) { swallowed += std::popcount(rows); });
            const int added = new_parts(g.raise, targets[i]);
            if (swallowed > best_swallowed || (swallowed == best_swallowed && added < best_new)) {
                best = i;
                best_swallowed = swallowed;
                best_new = added;
            }
        }
        work.rows.raise(g, targets[best]);
        work.rows.settle(g);
    }
}

// When no cube can be taken whole any more: raises, one at a time, the free part that most of the
// blocked cubes (work.candidates) need, so that the prime overlaps them as far as it can.
void steer_toward_blocked(Growth& g, const Cover& targets, ExpandWork& work, const Space& s) {
    auto& blocked = work.candidates;
    for (;;) {
        std::size_t kept = 0;
        for (int i : blocked)
            if (fits(targets[i], g)) blocked[kept++] = i;
        blocked.resize(kept);
        if (blocked.empty() || (g.free.in.none() && g.free.out.none())) return;
        std::vector<int>& in_need = work.in_need;
        std::vector<int>& out_need = work.out_need;
        in_need.assign(static_cast<std::size_t>(2 * s.nx), 0);
        out_need.assign(static_cast<std::size_t>(s.ny), 0);
        for (int i : blocked) {
            (targets[i].in & g.free.in).for_each([&](int b) { ++in_need[b]; });
            (targets[i].out & g.free.out).for_each([&](int b) { ++out_need[b]; });
        }
        // Inputs before outputs, lower bits first, on a tie.
        int best = -1, best_count = 0;
        bool best_input = true;
        for (int b = 0; b < 2 * s.nx; ++b)
            if (in_need[b] > best_count) best = b, best_count = in_need[b];
        for (int b = 0; b < s.ny; ++b)
            if (out_need[b] > best_count) best = b, best_count = out_need[b], best_input = false;
        if (best < 0) return;
        work.rows.raise(g, best_input ? Cube{cubes::InBits::bit(best), {}} : Cube{{}, cubes::OutBits::bit(best)});
        work.rows.settle(g);
    }
}

}  // namespace

Cube expand_cube(const Cube& c, const GrowthBound& bound, const Cover& targets, const std::vector<char>& skip, const Space& s,
                 bool inputs_only, ExpandWork& work, const cubes::CoverColumns* target_columns) {
    if (!bound.off()) return grow_inside(c, bound.care(), targets, skip, s, inputs_only);
    Growth g{c, Cube{s.in_full & ~c.in, {}}};
    if (!inputs_only) g.free.out = s.out_full & ~c.out;
    work.rows.start(*bound.off(), g);
    work.rows.settle(g);
    work.feasible.clear();
    work.candidates.clear();
    for_each_inside(targets, target_columns, cubes::supercube(g.raise, g.free), [&](std::size_t i) {
        if (!skip[i] && !cubes::contains(g.raise, targets[i])) work.feasible.push_back(static_cast<int>(i));
    });
    swallow_cubes(g, targets, work, s);
    steer_toward_blocked(g, targets, work, s);
    // Nothing left to aim at: the largest prime, greedily.
    while (g.free.in.any() || g.free.out.any()) {
        raise_least_blocked(g, work.rows);
        work.rows.settle(g);
    }
    return g.raise;
}

std::vector<int> expand_order(const Cover& f, std::uint64_t order_seed) {
    std::vector<int> order(f.size());
    std::iota(order.begin(), order.end(), 0);
    if (order_seed != 0) {
        seeded_shuffle(order, order_seed);
        return order;
    }
    // Weight of a cube: over its parts, how many cubes of f have that part too.
    std::vector<int> in_count(cubes::InBits::kBits, 0), out_count(cubes::OutBits::kBits, 0);
    for (const Cube& c : f) {
        c.in.for_each([&](int b) { ++in_count[b]; });
        c.out.for_each([&](int b) { ++out_count[b]; });
    }
    std::vector<long> weight(f.size(), 0);
    for (std::size_t i = 0; i < f.size(); ++i) {
        f[i].in.for_each([&](int b) { weight[i] += in_count[b]; });
        f[i].out.for_each([&](int b) { weight[i] += out_count[b]; });
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return weight[a] < weight[b]; });
    return order;
}

void expand(Cover& f, const GrowthBound& bound, const Space& s, const ExpandParams& params, StopCheck& stop) {
    const std::vector<int> order = expand_order(f, params.order_seed);
    std::vector<char> skip(f.size(), 0);  // expanded already, or swallowed
    Cover primes;
    ExpandWork work;
    // Which cubes a growing cube could take, and which a prime swallowed: column passes over f
    // instead of a pass over its cubes for every cube (the per-output start has thousands).
    const cubes::CoverColumns targets(f, s);
    for (int i : order) {
        if (skip[i]) continue;
        if (stop()) break;
        skip[i] = 1;
        const bool known_prime = params.inputs_only && params.input_prime && !params.input_prime->empty() &&
                                 (*params.input_prime)[static_cast<std::size_t>(i)];
        const Cube p = known_prime ? f[i] : expand_cube(f[i], bound, f, skip, s, params.inputs_only, work, &targets);
        for_each_inside(f, &targets, p, [&](std::size_t k) { skip[k] = 1; });
        // Two cubes can grow into the same prime; a prime lies inside no other.
        if (params.inputs_only || std::find(primes.begin(), primes.end(), p) == primes.end()) primes.push_back(p);
    }
    const bool complete = std::all_of(skip.begin(), skip.end(), [](char c) { return c != 0; });
    for (std::size_t k = 0; k < f.size(); ++k)
        if (!skip[k]) primes.push_back(f[k]);
    // Input parts grown for fixed outputs can end up inside one another.
    if (params.inputs_only || !complete) cubes::remove_contained(primes);
    f = std::move(primes);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
