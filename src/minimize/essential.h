#pragma once
#include "cubes/cube.h"
#include "minimize/stop_check.h"

// ESSENTIAL: a prime p of f is essential when it is not covered by its consensus with the other
// cubes of f and the don't-cares d (those at distance at most one): no other prime of the function
// covers all of it, so every prime cover contains p (Brayton et al. 1984, ch. 5).
namespace vormel::minimize {

// Removes the essential primes from f and returns them, both in their original order.
// When stopped, returns the essentials found so far.
cubes::Cover take_essential_primes(cubes::Cover& f, const cubes::Cover& d, const cubes::Space& s, StopCheck& stop);

}  // namespace vormel::minimize
