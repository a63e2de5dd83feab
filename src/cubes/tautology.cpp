#include <algorithm>

#include "cubes/cover_algebra.h"
#include "cubes/input_words.h"

// Unate recursive tautology (Brayton et al., "Logic Minimization Algorithms for VLSI Synthesis", 1984,
// ch. 3): split on the most binate input; a unate cover is a tautology only if it holds the universe.
namespace vormel::cubes {

bool input_tautology(const InputCover& f, const Space& s) {
    if (f.empty()) return false;
    std::uint64_t all = 0;
    for (std::uint64_t in : f) {
        if (in == s.in_full) return true;
        all |= in;
    }
    // Some input value is allowed by no cube: that half of the space is uncovered.
    if (all != s.in_full) return false;
    const LiteralColumns cols = literal_columns(f);
    const std::uint64_t binate = cols.binate();
    if (binate == 0) return false;
    const std::uint64_t bit = busiest_input(f, binate);
    return input_tautology(cofactor_input(f, bit, 0), s) && input_tautology(cofactor_input(f, bit, 1), s);
}

bool tautology(const Cover& f, const Space& s) {
    InputCover part;
    for (int j = 0; j < s.ny; ++j) {
        part.clear();
        for (const Cube& c : f) {
            if (has_output(c, j)) part.push_back(c.in);
        }
        if (!input_tautology(part, s)) return false;
    }
    return true;
}

bool covers(const Cover& f, const Cube& c, const Space& s) {
    // Cofactor once against the input part; then each output of c must be a tautology there.
    Cover inside;
    for (const Cube& d : f) {
        if (intersects(d, c, s)) inside.push_back(d);
    }
    InputCover part;
    for (int j = 0; j < s.ny; ++j) {
        if (!has_output(c, j)) continue;
        part.clear();
        for (const Cube& d : inside) {
            if (has_output(d, j)) part.push_back((d.in | ~c.in) & s.in_full);
        }
        if (!input_tautology(part, s)) return false;
    }
    return true;
}

}  // namespace vormel::cubes
