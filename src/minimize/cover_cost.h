#pragma once
#include <compare>

#include "cubes/cube.h"

namespace vormel::minimize {

// What a two-level cover costs: product terms first, then literals (input literals plus output
// connections), the order in which the reports and every comparison of the engine rank covers.
struct CoverCost {
    int terms = 0;
    int literals = 0;
    auto operator<=>(const CoverCost&) const = default;
};

inline CoverCost cost_of(const cubes::Cover& f, const cubes::Space& s) {
    CoverCost c;
    for (const cubes::Cube& cube : f) {
        ++c.terms;
        c.literals += cubes::literal_count(cube, s) + cubes::output_count(cube);
    }
    return c;
}

}  // namespace vormel::minimize
