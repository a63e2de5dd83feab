#include "minimize/point_bound.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cube;

namespace {

// The lowest point of c (every free input 0) in its lowest output.
Cube lowest_point(const Cube& c, const cubes::Space& s) {
    Cube p{c.in & ~((cubes::free_pairs(c.in) & s.low_full()) << 1), {}};
    cubes::set_output(p, c.out.lowest());
    return p;
}

}  // namespace

int incompatible_points_bound(const cubes::Cover& on, const cubes::Cover& off, const cubes::Space& s) {
    cubes::Cover chosen;
    for (const Cube& c : on) {
        if (cubes::is_empty(c, s)) continue;
        const Cube p = lowest_point(c, s);
        bool fits_with_one = false;
        for (const Cube& q : chosen) {
            const Cube both = cubes::supercube(p, q);
            bool hits_off = false;
            for (const Cube& d : off) {
                if (cubes::intersects(both, d, s)) {
                    hits_off = true;
                    break;
                }
            }
            if (!hits_off) {
                fits_with_one = true;
                break;
            }
        }
        if (!fits_with_one) chosen.push_back(p);
    }
    return static_cast<int>(chosen.size());
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
