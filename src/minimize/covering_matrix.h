#pragma once
#include <vector>

namespace vormel::minimize {

// A unate covering problem: choose columns so that every row holds a chosen one. Each row lists
// its columns in ascending order; no row is empty.
struct CoveringMatrix {
    int columns = 0;
    std::vector<std::vector<int>> rows;
};

}  // namespace vormel::minimize
