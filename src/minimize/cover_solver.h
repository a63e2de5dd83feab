#pragma once
#include <vector>

#include "minimize/covering_matrix.h"
#include "minimize/work_budget.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct MinimumCover {
    std::vector<int> columns;    // a cover of every row, ascending
    int lower_bound = 0;         // no cover has fewer columns
    bool proven = false;         // columns.size() == lower_bound
    bool cost_proven = false;    // and no cover of that many columns costs less
    bool stopped = false;        // the budget ran out before the proofs
    int greedy_columns = 0;      // the first cover, found greedily
    int disjoint_rows = 0;       // rows no column shares: the first lower bound
    long long solver_nodes = 0;  // branch-and-bound nodes
};

// A cover of the rows with the fewest columns and, among those, the least sum of `cost`, as 0-1
// programs solved by branch and cut (CBC, with its LP bound, cuts and heuristics): first the
// count alone, then the cost with the count held at its minimum. A greedy cover and a set of
// pairwise disjoint rows give the first bounds (and settle the count at once when they meet).
// When the budget runs out (polled at every node and every few LP iterations) the best cover so far comes
// back with the count bound reached, read off the LP bound; it is never worse than the greedy
// cover.
MinimumCover minimum_cover(const CoveringMatrix& m, const std::vector<int>& cost, WorkBudget& budget);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
