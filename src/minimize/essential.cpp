#include "minimize/essential.h"

#include "cubes/cover_columns.h"
#include "minimize/cube_cofactors.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

namespace {

// Adds the part of p that a prime other than p covers for certain because of q: the consensus of
// p with the part of q outside p. Inputs at distance one: the ordinary consensus. Inputs meeting:
// the input intersection, with the outputs of both when q has outputs p lacks (that cube lies in
// p and q but not in p alone). A cube of the cover inside p says nothing; don't-cares always count.
void add_consensus(const Cube& p, const Cube& q, bool dont_care, const Space& s, Cover& out) {
    const int apart = cubes::input_distance(p, q, s);
    if (apart == 0) {
        if (!dont_care && cubes::contains(p, q)) return;
        const bool new_outputs = (q.out & ~p.out).any();
        const Cube c = new_outputs ? Cube{p.in & q.in, p.out | q.out} : cubes::intersect(p, q);
        out.push_back(cubes::cofactor(c, p, s));
    } else if (apart == 1 && cubes::outputs_meet(p, q)) {
        out.push_back(cubes::cofactor(cubes::consensus(p, q, s), p, s));
    }
}

}  // namespace

Cover take_essential_primes(Cover& f, const Cover& d, const Space& s, StopCheck& stop) {
    Cover essentials, rest, h;
    cubes::InputCover scratch;
    // Only cubes at input distance at most one from p add anything.
    cubes::CoverColumns f_columns(f, s), d_columns(d, s);
    std::size_t i = 0;
    for (; i < f.size(); ++i) {
        if (stop()) break;
        const Cube& p = f[i];
        h.clear();
        f_columns.for_each_near(p, [&](std::size_t k) {
            if (k != i) add_consensus(p, f[k], false, s, h);
        });
        d_columns.for_each_near(p, [&](std::size_t k) { add_consensus(p, d[k], true, s, h); });
        (cofactors_cover(h, p, s, scratch) ? rest : essentials).push_back(p);
    }
    for (; i < f.size(); ++i) rest.push_back(f[i]);
    f = std::move(rest);
    return essentials;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
