#pragma once
#include <vector>

#include "cubes/cube.h"

// EXPAND without an OFF cover: the cube grows one part at a time while it stays inside `care` (the
// ON and DC cover), a containment test per part. A part refused for a cube is refused for every
// larger one, so one pass over the parts gives a prime. The parts that most cubes of `targets` not
// yet swallowed (skip 0) need go first, so that the prime swallows what it can; input parts before
// output parts on a tie. Only input parts grow when inputs_only.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

cubes::Cube grow_inside(const cubes::Cube& c, const cubes::Cover& care, const cubes::Cover& targets,
                        const std::vector<char>& skip, const cubes::Space& s, bool inputs_only);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
