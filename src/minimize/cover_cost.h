#pragma once
#include <compare>
#include <vector>

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

// Covering costs of these cubes that count terms first and literals second: one term weighs more
// than the literals of all the cubes together, so no saving in literals pays for a term.
inline std::vector<long long> terms_first_costs(const cubes::Cover& cubes, const cubes::Space& s) {
    std::vector<long long> literals;
    long long term = 1;
    for (const cubes::Cube& c : cubes) {
        literals.push_back(cubes::literal_count(c, s) + cubes::output_count(c));
        term += literals.back();
    }
    for (long long& cost : literals) cost += term;
    return literals;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
