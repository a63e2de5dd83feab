#pragma once
#include "cubes/cube.h"
#include "minimize/growth_bound.h"
#include "minimize/stop_check.h"

// MAKE_SPARSE: the loop leaves primes with as many outputs as possible; here every output
// connection that the other cubes and the don't-cares make unnecessary is dropped, and the input
// parts are then expanded again, since a cube with fewer outputs may lose literals. Repeats while
// that lowers the literal count; the number of terms never grows (Brayton et al. 1984, ch. 7).
// The cubes come in prime in their input parts (as expand leaves them) and stay so for their
// remaining outputs.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

void make_sparse(cubes::Cover& f, const cubes::Cover& d, const GrowthBound& bound, const cubes::Space& s,
                 StopCheck& stop);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
