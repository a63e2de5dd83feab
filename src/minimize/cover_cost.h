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

// Covering costs that count terms first and literals second, from each column's literals: one
// term weighs more than the literals of all the columns together, so no saving in literals pays for
// a term.
inline std::vector<long long> terms_first_costs(const std::vector<int>& literals) {
    long long term = 1;
    for (int l : literals) term += l;
    std::vector<long long> costs;
    costs.reserve(literals.size());
    for (int l : literals) costs.push_back(term + l);
    return costs;
}

// The literals (input literals plus output connections) of each cube.
inline std::vector<int> literal_counts(const cubes::Cover& cubes, const cubes::Space& s) {
    std::vector<int> literals;
    literals.reserve(cubes.size());
    for (const cubes::Cube& c : cubes) literals.push_back(cubes::literal_count(c, s) + cubes::output_count(c));
    return literals;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
