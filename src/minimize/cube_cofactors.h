#pragma once
#include <cstddef>
#include <vector>

#include "cubes/cover_columns.h"
#include "cubes/input_words.h"

// Every phase asks questions of one cube c against the rest of the cover and the don't-cares:
// is c covered by them, which part of c do they leave? These gather the cubes that meet c,
// cofactored by c, and split them by output.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// A cover with its columns, for the many questions of one pass; whoever changes a cube of the
// cover tells the columns.
struct IndexedCover {
    IndexedCover(const cubes::Cover& f, const cubes::Space& s) : cover(f), columns(f, s) {}
    const cubes::Cover& cover;
    cubes::CoverColumns columns;
};

// Appends to `out` the cubes of f (except f[skip]) and of d that meet c, cofactored by c, in the
// order of f and then d.
void gather_cofactors(const cubes::Cube& c, IndexedCover& f, std::size_t skip, IndexedCover& d, const cubes::Space& s,
                      cubes::Cover& out);

// The input words of the cubes of q that carry output j.
void inputs_of_output(const cubes::Cover& q, int j, cubes::InputCover& out);

// q (cofactored by c) covers c: every output of c is covered on all its inputs.
bool cofactors_cover(const cubes::Cover& q, const cubes::Cube& c, const cubes::Space& s,
                     cubes::InputCover& scratch);

// Calls fn(j) for every output j of c, in ascending order.
template <typename Fn>
void for_each_output(const cubes::Cube& c, Fn&& fn) {
    c.out.for_each(fn);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
