#include "minimize/last_gasp.h"

#include "minimize/expand.h"
#include "minimize/irredundant.h"
#include "minimize/reduce.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

void last_gasp(Cover& f, const Cover& d, const GrowthBound& bound, const Space& s, StopCheck& stop) {
    Cover reduced;
    ReduceWork reduce_work;
    IndexedCover fi(f, s), di(d, s);
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (stop()) return;
        const Cube r = reduce_cube(fi, i, di, s, reduce_work);
        if (!cubes::outputs_empty(r) && !(r == f[i])) reduced.push_back(r);
    }
    if (reduced.size() < 2) return;
    std::vector<char> skip(reduced.size(), 0);
    ExpandWork expand_work;
    Cover added;
    for (int i : expand_order(reduced, 0)) {
        if (skip[i]) continue;
        if (stop()) return;
        skip[i] = 1;
        const Cube p = expand_cube(reduced[i], bound, reduced, skip, s, false, expand_work);
        bool swallowed = false;
        for (std::size_t k = 0; k < reduced.size(); ++k) {
            if (static_cast<int>(k) == i || !cubes::contains(p, reduced[k])) continue;
            skip[k] = 1;
            swallowed = true;
        }
        if (swallowed) added.push_back(p);
    }
    if (added.empty()) return;
    Cover grown = f;
    grown.insert(grown.end(), added.begin(), added.end());
    irredundant(grown, d, s, stop);
    if (!stop.stopped()) f = std::move(grown);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
