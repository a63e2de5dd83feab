#pragma once
#include "cubes/cube.h"
#include "minimize/growth_bound.h"
#include "minimize/stop_check.h"

// LAST_GASP: when the reduce-expand-irredundant loop stalls, reduce every cube on its own as far
// as the rest of the cover allows, expand those reduced cubes aiming only at each other, and add
// the primes that swallow another reduced cube; a final IRREDUNDANT chooses among old and new
// (Rudell 1989, ch. 3). f stays a valid cover when stopped.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

void last_gasp(cubes::Cover& f, const cubes::Cover& d, const GrowthBound& bound, const cubes::Space& s, StopCheck& stop);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
