#pragma once
#include "cubes/cube.h"

// Operations on covers (unions of cubes) in the multi-output space. A cube's outputs say which
// functions it belongs to, so a cover stands for one function per output: output j is the union
// of the input parts of the cubes that carry j.
namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

// Drops every cube that lies inside another cube of f (of two equal cubes the first stays);
// the remaining cubes keep their order.
void remove_contained(Cover& f);

// The cover of output j alone: the cubes that carry j, with every output bit set.
Cover output_part(const Cover& f, int j, const Space& s);

// Cofactor of f with respect to p: the cubes of f that meet p, each cofactored.
Cover cofactor(const Cover& f, const Cube& p, const Space& s);

// f covers the whole space (every input point for every output). Unate recursive.
bool tautology(const Cover& f, const Space& s);

// c lies inside the union of f.
bool covers(const Cover& f, const Cube& c, const Space& s);

// The complement of f in the space: for every output the input points f leaves out, with equal
// input parts of different outputs merged into one cube. Unate recursive; the outputs are
// complemented independently (in parallel), the result does not depend on the thread count.
Cover complement(const Cover& f, const Space& s);

// a minus the union of b, as a cover (disjoint pieces are not required).
Cover sharp(const Cube& a, const Cover& b, const Space& s);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
