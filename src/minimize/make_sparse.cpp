#include "minimize/make_sparse.h"

#include "cubes/input_words.h"
#include "minimize/cover_cost.h"
#include "minimize/cube_cofactors.h"
#include "minimize/expand.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

namespace {

// Clears each output bit of each cube that the rest covers there, cube by cube. `unchanged` gets,
// per cube left, whether it kept all its outputs.
void lower_outputs(Cover& f, const Cover& d, const Space& s, StopCheck& stop, std::vector<char>& unchanged) {
    Cover q;
    cubes::InputCover inputs;
    std::vector<char> kept_all(f.size(), 1);
    IndexedCover fi(f, s), di(d, s);
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (stop()) break;
        q.clear();
        gather_cofactors(f[i], fi, i, di, s, q);
        const Cube before = f[i];
        for_each_output(before, [&](int j) {
            inputs_of_output(q, j, inputs);
            if (cubes::input_tautology(inputs, s)) cubes::clear_output(f[i], j);
        });
        if (f[i] == before) continue;
        kept_all[i] = 0;
        fi.columns.replace(i, before, f[i]);
    }
    unchanged.clear();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (cubes::outputs_empty(f[i])) continue;
        unchanged.push_back(kept_all[i]);
        f[kept++] = f[i];
    }
    f.resize(kept);
}

}  // namespace

void make_sparse(Cover& f, const Cover& d, const GrowthBound& bound, const Space& s, StopCheck& stop) {
    // The cubes come in prime in their input parts for their outputs, and leave expand so: only a
    // cube that lost an output can grow.
    std::vector<char> unchanged;
    ExpandParams inputs_only;
    inputs_only.inputs_only = true;
    inputs_only.input_prime = &unchanged;
    for (CoverCost before = cover_cost(f, s);;) {
        lower_outputs(f, d, s, stop, unchanged);
        expand(f, bound, s, inputs_only, stop);
        const CoverCost after = cover_cost(f, s);
        if (stop.stopped() || !(after < before)) break;
        before = after;
    }
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
