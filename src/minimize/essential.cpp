#include "minimize/essential.h"

#include "minimize/cube_cofactors.h"

namespace vormel::minimize {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

namespace {

void add_consensus(const Cube& p, const Cube& q, const Space& s, Cover& out) {
    if (cubes::distance(p, q, s) > 1) return;
    const Cube c = cubes::consensus(p, q, s);
    if (!cubes::is_empty(c, s)) out.push_back(cubes::cofactor(c, p, s));
}

}  // namespace

Cover take_essential_primes(Cover& f, const Cover& d, const Space& s, StopCheck& stop) {
    Cover essentials, rest, h;
    std::vector<std::uint64_t> scratch;
    std::size_t i = 0;
    for (; i < f.size(); ++i) {
        if (stop()) break;
        const Cube& p = f[i];
        h.clear();
        for (std::size_t k = 0; k < f.size(); ++k)
            if (k != i) add_consensus(p, f[k], s, h);
        for (const Cube& q : d) add_consensus(p, q, s, h);
        (cofactors_cover(h, p, s, scratch) ? rest : essentials).push_back(p);
    }
    for (; i < f.size(); ++i) rest.push_back(f[i]);
    f = std::move(rest);
    return essentials;
}

}  // namespace vormel::minimize
