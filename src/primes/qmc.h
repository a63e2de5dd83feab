#pragma once

namespace vormel {

struct RunContext;
struct Problem;
class PrimeStore;

// Generate Primes by Quine-McCluskey for every output and the polarity pass(es) of polarity_mode.
void Primes_QMC(RunContext& ctx, Problem& problem, PrimeStore& store);

}  // namespace vormel
