#pragma once
#include <vector>

#include "minimize/covering_matrix.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct ReducedCovering {
    std::vector<int> chosen;          // columns every minimum cover can take: essentials, ascending
    CoveringMatrix core;              // what is left to cover, over renumbered columns
    std::vector<int> core_columns;    // core column -> column of the input matrix
    int passes = 0;
};

// Shrinks a covering problem without losing a cheapest solution, where a solution costs its
// column count first and the sum of `cost` over its columns second: takes essential columns
// (sole column of a row), drops rows that hold another row, and drops a column whose rows
// another column of no greater cost also covers (the lower index stays among equals); repeated
// until nothing changes. Only rows or columns that share an entry are ever compared.
ReducedCovering reduce_covering(const CoveringMatrix& m, const std::vector<int>& cost);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
