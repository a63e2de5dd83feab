#include "minimize/grow_inside.h"

#include <algorithm>

#include "cubes/cover_algebra.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cube;

namespace {

struct Part {
    int need;
    bool input;
    int bit;
};

}  // namespace

Cube grow_inside(const Cube& c, const cubes::Cover& care, const cubes::Cover& targets, const std::vector<char>& skip,
                 const cubes::Space& s, bool inputs_only) {
    // The bits c lacks: the other value of every input it binds, and its missing outputs.
    const cubes::InBits lacking_in = s.in_full & ~c.in;
    const cubes::OutBits lacking_out = inputs_only ? cubes::OutBits{} : s.out_full & ~c.out;
    std::vector<int> in_need(cubes::InBits::kBits, 0), out_need(cubes::OutBits::kBits, 0);
    for (std::size_t k = 0; k < targets.size(); ++k) {
        if (skip[k] || cubes::contains(c, targets[k])) continue;
        (targets[k].in & lacking_in).for_each([&](int b) { ++in_need[b]; });
        (targets[k].out & lacking_out).for_each([&](int j) { ++out_need[j]; });
    }
    std::vector<Part> parts;
    lacking_in.for_each([&](int b) { parts.push_back({in_need[b], true, b}); });
    lacking_out.for_each([&](int j) { parts.push_back({out_need[j], false, j}); });
    std::stable_sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
        if (a.need != b.need) return a.need > b.need;
        return a.input && !b.input;
    });
    Cube g = c;
    for (const Part& p : parts) {
        // Only the points the part adds need testing: g itself is inside care already.
        Cube added = g;
        if (p.input) {
            added.in = (g.in & ~cubes::input_pair(p.bit >> 1)) | cubes::InBits::bit(p.bit);
        } else {
            added.out = cubes::OutBits::bit(p.bit);
        }
        if (!cubes::covers(care, added, s)) continue;
        if (p.input) g.in.set(p.bit);
        else g.out.set(p.bit);
    }
    return g;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
