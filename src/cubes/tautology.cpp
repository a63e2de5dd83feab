#include <algorithm>

#include "cubes/cover_algebra.h"
#include "cubes/input_words.h"

// Unate recursive tautology (Brayton et al., "Logic Minimization Algorithms for VLSI Synthesis", 1984,
// ch. 3): split on the most binate input; a unate cover is a tautology only if it holds the universe.
namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

namespace {

// Cubes in groups sharing no input: the union is a tautology only if one group is (a point missed
// by each group, combined, is missed by all). Looking for groups costs a pass per node; it pays
// only in deep searches, where the leaves of the groups multiply.
constexpr long kNodesBeforeGroups = 16;

bool tautology_of_range(InputCover& w, std::size_t b, std::size_t e, const Space& s, long& nodes);

bool tautology_of_groups(InputCover& w, std::size_t b, std::size_t e, const Space& s, long& nodes,
                         const std::vector<InBits>& groups) {
    for (const InBits& group : groups) {
        const std::size_t top = w.size();
        for (std::size_t i = b; i < e; ++i) {
            if ((literal_inputs(w[i]) & ~group).none()) w.push_back(w[i]);
        }
        const bool holds = tautology_of_range(w, top, w.size(), s, nodes);
        w.resize(top);
        if (holds) return true;
    }
    return false;
}

// Words [b, e) of `w`; each cofactor is appended to w and dropped on return, so the recursion
// allocates only while the stack grows.
bool tautology_of_range(InputCover& w, std::size_t b, std::size_t e, const Space& s, long& nodes) {
    if (b == e) return false;
    InBits all;
    LiteralColumns cols;
    for (std::size_t i = b; i < e; ++i) {
        const InBits in = w[i];
        if (in == s.in_full) return true;
        all |= in;
        cols.zero |= zero_literals(in);
        cols.one |= one_literals(in);
    }
    // Some input value is allowed by no cube: that half of the space is uncovered.
    if (all != s.in_full) return false;
    const InBits binate = cols.binate();
    if (binate.none()) return false;
    // An input with literals of one sign only: on its other value just the cubes free in it remain,
    // and those decide (unate reduction). Dropping the rest can make more inputs unate.
    if (const InBits unate = (cols.zero | cols.one) & ~binate; unate.any()) {
        const std::size_t top = w.size();
        for (std::size_t i = b; i < e; ++i) {
            const InBits in = w[i];
            if (((zero_literals(in) | one_literals(in)) & unate).none()) w.push_back(in);
        }
        const bool holds = tautology_of_range(w, top, w.size(), s, nodes);
        w.resize(top);
        return holds;
    }
    if (++nodes > kNodesBeforeGroups) {
        if (const std::vector<InBits> groups = input_groups(w.data() + b, w.data() + e); groups.size() > 1)
            return tautology_of_groups(w, b, e, s, nodes, groups);
    }
    const InBits bit = busiest_input(w.data() + b, w.data() + e, binate);
    for (int value : {0, 1}) {
        const std::size_t top = w.size();
        append_cofactor(w, b, e, bit, value);
        const bool holds = tautology_of_range(w, top, w.size(), s, nodes);
        w.resize(top);
        if (!holds) return false;
    }
    return true;
}

}  // namespace

bool input_tautology(const InputCover& f, const Space& s) {
    InputCover w;
    w.reserve(f.size() * 4);
    w = f;
    long nodes = 0;
    return tautology_of_range(w, 0, w.size(), s, nodes);
}

bool tautology(const Cover& f, const Space& s) {
    InputCover part;
    for (int j = 0; j < s.ny; ++j) {
        part.clear();
        for (const Cube& c : f) {
            if (has_output(c, j)) part.push_back(c.in);
        }
        long nodes = 0;
        if (!tautology_of_range(part, 0, part.size(), s, nodes)) return false;
    }
    return true;
}

bool covers(const Cover& f, const Cube& c, const Space& s) {
    // Cofactor once against the input part; then each output of c must be a tautology there.
    // Most calls end at one cube holding c whole (points and small cubes): no cofactor needed.
    Cover inside;
    for (const Cube& d : f) {
        if (!intersects(d, c, s)) continue;
        if (contains(d, c)) return true;
        inside.push_back(d);
    }
    InputCover part;
    for (int j = 0; j < s.ny; ++j) {
        if (!has_output(c, j)) continue;
        part.clear();
        for (const Cube& d : inside) {
            if (has_output(d, j)) part.push_back((d.in | ~c.in) & s.in_full);
        }
        long nodes = 0;
        if (!tautology_of_range(part, 0, part.size(), s, nodes)) return false;
    }
    return true;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
