#pragma once
#include "cubes/cube.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// A lower bound on the terms of every cover, found without primes: ON points (one per ON cube, its
// lowest point in its lowest output) of which no two fit in one cube that misses the OFF cover, so
// each needs a term of its own. Greedy in ON order; costs |ON| x |chosen| x |OFF| cube tests.
int incompatible_points_bound(const cubes::Cover& on, const cubes::Cover& off, const cubes::Space& s);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
