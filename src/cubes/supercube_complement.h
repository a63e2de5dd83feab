#pragma once
#include <cstdint>

#include "cubes/input_words.h"

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

// The smallest cube containing every point of the space that no cube of f (one output's cover,
// non-empty input words) covers; none when f is a tautology. Unate recursion: split on the most
// binate input; at a unate leaf the answer is read off the literal columns (Brayton et al., "Logic
// Minimization Algorithms for VLSI Synthesis", 1984, ch. 3). Stops as soon as the supercube is the
// whole space. Exponential in the worst case, like tautology.
InBits input_supercube_of_complement(const InputCover& f, const Space& s);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
