#pragma once

namespace vormel {

struct RunContext;
struct Problem;
class PrimeStore;

// Weighting of the "ALT" choice: a prime p adds alpha + beta * (its literal count - 1) to the sum
// of every open minterm it covers. Fixed for the program (alpha 1, beta 0); other values only in
// tests.
struct CoverWeights {
    double alpha = 10.0 / 10.0;
    double beta = 1.0 - 10.0 / 10.0;
};

// Select Cover: replaces the primes of every output and polarity in the store by the selected
// cover, in order of selection. On a Break at a pause, error_flag is set and the step returns
// after the current output. A large expanded table is let go while the step runs and is whole again
// when it returns.
void Cover_Single(RunContext& ctx, Problem& problem, PrimeStore& store, const CoverWeights& weights = {});

}  // namespace vormel
