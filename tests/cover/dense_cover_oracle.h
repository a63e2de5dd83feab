#pragma once

namespace vormel {
struct RunContext;
struct Problem;
class PrimeStore;
}  // namespace vormel

namespace cover_oracle {

// The cover selection over a full byte matrix of primes x minterms, every pair compared in the
// dominance passes: the slow reference the sparse step must match report for report.
void dense_cover_single(vormel::RunContext& ctx, const vormel::Problem& problem, vormel::PrimeStore& store,
                        double alpha = 1.0, double beta = 0.0);

}  // namespace cover_oracle
