#pragma once
#include <vector>

#include "cubes/cube_class.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// A unate covering problem: choose columns so that every row holds a chosen one. Each row lists
// its columns in ascending order; no row is empty.
struct CoveringMatrix {
    int columns = 0;
    std::vector<std::vector<int>> rows;
};

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
