#include <algorithm>
#include <bit>

#include "cubes/cover_algebra.h"

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

namespace {

// Pieces of a that b leaves out: per literal of b that a lacks, a with the opposite value; and a
// with the outputs b does not have.
void sharp_cube(const Cube& a, const Cube& b, const Space& s, Cover& out) {
    if (!intersects(a, b, s)) {
        out.push_back(a);
        return;
    }
    (a.in & ~b.in & s.in_full).for_each([&](int bit) {
        // The other bit of the pair: the piece takes the value b's literal excludes.
        Cube piece = a;
        piece.in.reset(bit ^ 1);
        out.push_back(piece);
    });
    Cube rest = a;
    rest.out &= ~b.out;
    if (!outputs_empty(rest)) out.push_back(rest);
}

}  // namespace

Cover output_part(const Cover& f, int j, const Space& s) {
    Cover out;
    for (const Cube& c : f) {
        if (has_output(c, j)) out.push_back(Cube{c.in, s.out_full});
    }
    return out;
}

Cover cofactor(const Cover& f, const Cube& p, const Space& s) {
    Cover out;
    for (const Cube& c : f) {
        if (intersects(c, p, s)) out.push_back(cofactor(c, p, s));
    }
    return out;
}

Cover sharp(const Cube& a, const Cover& b, const Space& s) {
    Cover rest{a};
    Cover next;
    for (const Cube& d : b) {
        next.clear();
        for (const Cube& r : rest) sharp_cube(r, d, s, next);
        remove_contained(next);
        rest.swap(next);
        if (rest.empty()) break;
    }
    return rest;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
