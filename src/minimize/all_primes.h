#pragma once
#include <cstddef>
#include <cstdint>

#include "cubes/cube.h"
#include "minimize/work_budget.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct PrimeStats {
    long long nodes = 0;         // cofactors visited
    long long pairs = 0;         // prime pairs intersected while merging two cofactors
    long long leaf_cubes = 0;    // cubes of the unate leaves
};

// All multi-output prime implicants of the function f covers (ON and DC together): the cubes
// (inputs, output set) inside f from which no literal can be dropped and to which no output can
// be added. Shannon recursion on the cube layer with the output part as one multi-valued
// variable: split on the most binate input (or on the outputs once the inputs are unate), take
// the primes of both cofactors, and merge them by their pairwise intersections (the consensus on
// the split variable) and containment (R. Rudell, A. Sangiovanni-Vincentelli, "Multiple-valued
// minimization for PLA optimization", 1987). A unate cover's primes are its maximal cubes.
// Returns false, with `primes` unspecified, when the budget ran out first or the function has
// more than `most` primes (found out as soon as one cofactor has); else the primes in ascending
// bit order.
bool all_primes(const cubes::Cover& f, const cubes::Space& s, WorkBudget& budget, cubes::Cover& primes,
                PrimeStats& stats, std::size_t most = SIZE_MAX);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
