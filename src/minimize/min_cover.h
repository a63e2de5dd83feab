#pragma once
#include <vector>

#include "cubes/cube_class.h"

// A unate covering problem: every row lists the columns that satisfy it; choose columns that
// satisfy every row at the least total cost.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct CoveringProblem {
    int columns = 0;
    std::vector<std::vector<int>> rows;
    std::vector<long long> cost;  // per column, positive
};

// How far the branch and bound goes: at most node_limit nodes; below the root, row and column
// dominance (quadratic in the rows or columns at every node) only on problems of at most
// dominance_size rows or columns.
struct CoverSearch {
    long node_limit = 0;
    int dominance_size = 300;
};

struct CoveringResult {
    std::vector<int> chosen;  // ascending
    bool exact = true;        // false when the search was cut short
};

// The cheapest cover found: a greedy cover and the given one (if it is a cover), each improved by
// dropping redundant columns and trading two columns for one, then branch and bound (essential
// columns, row and column dominance, a bound from pairwise disjoint rows) within `search`.
// Exponential in the worst case, hence the limits. A row without columns is ignored.
CoveringResult min_cover(const CoveringProblem& problem, const CoverSearch& search, const std::vector<int>& start = {});

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
