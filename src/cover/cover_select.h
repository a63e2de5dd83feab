#pragma once

namespace vormel {

struct RunContext;
struct Problem;
class PrimeStore;

// Select Cover: replaces the primes of every output and polarity in the store by the selected cover.
void Cover_Single(RunContext& ctx, const Problem& problem, PrimeStore& store);

}  // namespace vormel
