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
    bool exact = true;        // false when the node limit cut the search short
};

// Branch and bound with essential columns, row and column dominance and a lower bound from
// pairwise disjoint rows; exponential in the worst case, so at most node_limit nodes are searched,
// after which the best cover found so far is returned (a greedy one without redundant columns at
// worst). A row without columns cannot be satisfied and is ignored.
CoveringResult min_cover(const CoveringProblem& problem, long node_limit);

}  // namespace vormel::minimize
