#pragma once
#include "cubes/cube.h"
#include "minimize/covering_matrix.h"
#include "minimize/work_budget.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct RowStats {
    long long regions = 0;  // pieces of ON cubes visited
    long long leaves = 0;   // rows found before duplicates were merged
};

// The rows of covering the ON set by the primes, without minterms. An ON cube is split, where a
// prime covers it only in part, until the piece holds a point that no partly covering prime
// reaches: that point is covered exactly by the primes holding the whole piece, and every other
// point of the piece by a superset of them, so this one row stands for the whole piece. Each
// row that survives row dominance over all ON points is among the rows found. Duplicates are
// merged (first occurrence kept). Returns false when the budget ran out first.
bool covering_rows(const cubes::Cover& on, const cubes::Cover& primes, const cubes::Space& s, WorkBudget& budget,
                   CoveringMatrix& matrix, RowStats& stats);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
