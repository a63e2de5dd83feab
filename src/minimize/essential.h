#pragma once
#include "cubes/cube.h"
#include "minimize/stop_check.h"

// ESSENTIAL: a prime p of the cover f is essential when the don't-cares d and the consensus of p
// with the parts of the other cubes outside p (those at distance at most one) leave some of p
// uncovered: then no other prime of the function covers that part, and every prime cover holds p
// (Brayton et al. 1984, ch. 5; the output part is one multiple-valued variable).
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// Removes the essential primes from f and returns them, both in their original order.
// When stopped, returns the essentials found so far.
cubes::Cover take_essential_primes(cubes::Cover& f, const cubes::Cover& d, const cubes::Space& s, StopCheck& stop);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
