#pragma once
#include <vector>

// A unate covering problem: every row lists the columns that satisfy it; choose columns that
// satisfy every row at the least total cost.
namespace vormel::minimize {

struct CoveringProblem {
    int columns = 0;
    std::vector<std::vector<int>> rows;
    std::vector<int> cost;  // per column, positive
};

struct CoveringResult {
    std::vector<int> chosen;  // ascending
    bool exact = true;        // false when the search was cut short
};

// The cheapest cover found: a greedy cover and the given one (if it is a cover), each improved by
// dropping redundant columns and trading two columns for one, then branch and bound (essential
// columns, row and column dominance, a bound from pairwise disjoint rows) for at most node_limit
// nodes. Exponential in the worst case, hence the limit. A row without columns is ignored.
CoveringResult min_cover(const CoveringProblem& problem, long node_limit, const std::vector<int>& start = {});

}  // namespace vormel::minimize
