#include "minimize/cube_cofactors.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

void gather_cofactors(const Cube& c, IndexedCover& f, std::size_t skip, IndexedCover& d, const Space& s, Cover& out) {
    f.columns.for_each_meeting(c, [&](std::size_t i) {
        if (i != skip) out.push_back(cubes::cofactor(f.cover[i], c, s));
    });
    d.columns.for_each_meeting(c, [&](std::size_t i) { out.push_back(cubes::cofactor(d.cover[i], c, s)); });
}

void inputs_of_output(const Cover& q, int j, cubes::InputCover& out) {
    out.clear();
    const std::uint64_t bit = std::uint64_t{1} << (j & 63);
    const int w = j >> 6;
    for (const Cube& cube : q)
        if (cube.out.w[w] & bit) out.push_back(cube.in);
}

bool cofactors_cover(const Cover& q, const Cube& c, const Space& s, cubes::InputCover& scratch) {
    bool covered = true;
    for_each_output(c, [&](int j) {
        if (!covered) return;
        inputs_of_output(q, j, scratch);
        covered = cubes::input_tautology(scratch, s);
    });
    return covered;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
