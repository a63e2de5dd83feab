#pragma once
#include <compare>

#include "cubes/cube.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// What the heuristic minimizes: product terms first, then literals (input literals plus output
// connections, the gate inputs of the two levels).
struct CoverCost {
    int terms = 0;
    int literals = 0;
    auto operator<=>(const CoverCost&) const = default;
};

inline CoverCost cover_cost(const cubes::Cover& f, const cubes::Space& s) {
    CoverCost cost;
    cost.terms = static_cast<int>(f.size());
    for (const cubes::Cube& c : f) cost.literals += cubes::literal_count(c, s) + cubes::output_count(c);
    return cost;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
