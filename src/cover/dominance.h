#pragma once

namespace vormel {

struct RunContext;
struct CoverMatrix;

// Row dominance over the active primes, then column dominance over the open minterms, each on the
// pairs with a changed member only; repeats while minterms fall. Returns -1 when a prime was
// removed (the caller reduces again after its next choice), 0 otherwise.
int PI_MT_absorption(RunContext& ctx, CoverMatrix& matrix);

}  // namespace vormel
