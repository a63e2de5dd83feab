#pragma once
#include <cstdint>
#include <vector>

#include "cubes/input_words.h"
#include "minimize/cube_cofactors.h"
#include "minimize/stop_check.h"

// REDUCE: every cube shrinks to the smallest cube containing the points that only it covers
// (among the cover and the don't-cares), one after the other, so that the next EXPAND can grow the
// cubes in new directions (Brayton et al. 1984, ch. 6; Rudell 1989, ch. 3). The smallest cube is
// the supercube of the complement of the others' cofactor, found by unate recursion per output.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct ReduceWork {
    cubes::Cover cofactors;
    cubes::InputCover inputs;
};

// The smallest cube containing the points of f[i] that neither the other cubes of f nor d cover;
// its output part is empty when there are none.
cubes::Cube reduce_cube(IndexedCover& f, std::size_t i, IndexedCover& d, const cubes::Space& s, ReduceWork& work);

// Reduces the cubes of f in turn (a cube reduced earlier counts in its smaller form); cubes left
// with nothing of their own leave the cover. order_seed 0: the largest cube first, then the rest by
// falling size; otherwise a seeded shuffle. When stopped, the cover is still valid.
void reduce(cubes::Cover& f, const cubes::Cover& d, const cubes::Space& s, std::uint64_t order_seed,
            StopCheck& stop);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
