#pragma once

namespace vormel {

struct RunContext;
struct Problem;
struct TermTable;

// The proof: sets problem.expanded_final_output from the final terms (uncovered minterms take
// 1 - polarity) and compares it with the expanded input under its heading. A mismatch sets error_flag.
void final_comparison(RunContext& ctx, Problem& problem, const TermTable& terms);

}  // namespace vormel
