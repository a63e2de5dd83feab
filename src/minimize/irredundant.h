#pragma once
#include <vector>

#include "cubes/cube.h"
#include "minimize/stop_check.h"

// IRREDUNDANT: drops cubes of f until none is covered by the others and the don't-cares d. Cubes
// that are relatively essential stay; cubes covered by those and d go; among the rest (the
// partially redundant ones) a smallest subset that still covers them is chosen as a covering
// problem whose rows come from the leaves of a unate recursion over each cube's cofactor
// (Rudell, "Logic Synthesis for VLSI Design", 1989, ch. 3; Brayton et al. 1984, ch. 5). A
// recursion too deep to finish (a cofactor of many groups of disjoint inputs) gives stronger rows
// instead, which may keep a cube the others cover. The kept cubes keep their order. When stopped,
// f is left unchanged.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// `known` may flag cubes of f that cover it on their own: the choice among the partially redundant
// cubes then starts from them and can only do better.
void irredundant(cubes::Cover& f, const cubes::Cover& d, const cubes::Space& s, StopCheck& stop,
                 const std::vector<char>& known = {});

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
