#include "minimize/quick_cover.h"

#include "cubes/cover_algebra.h"
#include "cubes/maximal_cubes.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;

namespace {

bool meets_off(const Cube& c, const Cover& off, const cubes::Space& s) {
    for (const Cube& d : off)
        if (cubes::intersects(c, d, s)) return true;
    return false;
}

Cube raise(Cube c, const Cover& off, const cubes::Space& s) {
    (s.low_full() & ~cubes::free_pairs(c.in)).for_each([&](int low) {
        Cube wider = c;
        wider.in |= cubes::input_pair(low >> 1);
        if (!meets_off(wider, off, s)) c = wider;
    });
    for (int j = 0; j < s.ny; ++j) {
        if (cubes::has_output(c, j)) continue;
        Cube wider = c;
        cubes::set_output(wider, j);
        if (!meets_off(wider, off, s)) c = wider;
    }
    return c;
}

}  // namespace

Cover quick_cover(const Cover& on, const Cover& off, const cubes::Space& s) {
    Cover f;
    for (const Cube& c : on)
        if (!cubes::is_empty(c, s)) f.push_back(raise(c, off, s));
    cubes::keep_maximal(f);
    // Only ON points need covering: a cube goes when the others cover its ON part.
    for (std::size_t i = 0; i < f.size();) {
        Cover others;
        for (std::size_t k = 0; k < f.size(); ++k)
            if (k != i) others.push_back(f[k]);
        bool needed = false;
        for (const Cube& c : on) {
            const Cube part = cubes::intersect(c, f[i]);
            if (!cubes::is_empty(part, s) && !cubes::covers(others, part, s)) {
                needed = true;
                break;
            }
        }
        if (needed) ++i;
        else f.erase(f.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return f;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
