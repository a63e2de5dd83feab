#pragma once
// Covers for the benchmark inputs without the prime and cover steps: every output's on-set rows and
// its complement are expanded to primes against each other and made irredundant.
#include <string>
#include <vector>

#include "model/problem.h"
#include "primes/prime_store.h"

namespace vormel::test {

struct PlaProblem {
    Problem problem;
    PrimeStore store;
    int cover_rows = 0;
};

// Reads a .pla file (types f and fd); false when the file cannot be used.
bool load_pla_covers(const std::string& path, PlaProblem& out);

}  // namespace vormel::test
