#include "minimize/reduce.h"

#include <algorithm>
#include <numeric>

#include "cubes/input_words.h"
#include "cubes/supercube_complement.h"
#include "minimize/cube_cofactors.h"
#include "minimize/seeded_shuffle.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

Cube reduce_cube(IndexedCover& f, std::size_t i, IndexedCover& d, const Space& s, ReduceWork& work) {
    const Cube& c = f.cover[i];
    work.cofactors.clear();
    gather_cofactors(c, f, i, d, s, work.cofactors);
    cubes::InBits kept_in;
    Cube reduced;
    for_each_output(c, [&](int j) {
        inputs_of_output(work.cofactors, j, work.inputs);
        bool uncovered;
        if (kept_in == s.in_full) {
            uncovered = !cubes::input_tautology(work.inputs, s);
        } else {
            const cubes::InBits part = cubes::input_supercube_of_complement(work.inputs, s);
            kept_in |= part;
            uncovered = part.any();
        }
        if (uncovered) cubes::set_output(reduced, j);
    });
    reduced.in = c.in & kept_in;
    return reduced;
}

void reduce(Cover& f, const Cover& d, const Space& s, std::uint64_t order_seed, StopCheck& stop) {
    std::vector<int> order(f.size());
    std::iota(order.begin(), order.end(), 0);
    if (order_seed != 0) {
        seeded_shuffle(order, order_seed);
    } else {
        // The largest cube first: it has the most to give up to the others.
        auto size = [&](int i) { return s.nx - cubes::literal_count(f[i], s) + cubes::output_count(f[i]); };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return size(a) > size(b); });
    }
    ReduceWork work;
    IndexedCover fi(f, s), di(d, s);
    for (int i : order) {
        if (stop()) break;
        const Cube r = reduce_cube(fi, static_cast<std::size_t>(i), di, s, work);
        const Cube before = f[i];
        if (cubes::outputs_empty(r)) {
            // Covered by the rest: with no outputs it no longer counts as covering anything.
            f[i].out = {};
        } else {
            f[i] = r;
        }
        fi.columns.replace(static_cast<std::size_t>(i), before, f[i]);
    }
    std::erase_if(f, [](const Cube& c) { return cubes::outputs_empty(c); });
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
