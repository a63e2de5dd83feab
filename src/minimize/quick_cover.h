#pragma once
#include "cubes/cube.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// A valid cover without primes or a covering problem, for when the exact method runs out of
// time before it has one: every ON cube raised against the OFF cover (inputs in order, then
// outputs), contained cubes dropped, then every cube that the others cover, in order. Takes
// |ON| x (inputs + outputs) x |OFF| cube tests plus one containment check per cube; not
// interruptible, since it is the last resort.
cubes::Cover quick_cover(const cubes::Cover& on, const cubes::Cover& off, const cubes::Space& s);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
