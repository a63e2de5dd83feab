#pragma once
#include <cstdint>

namespace vormel {

struct RunContext;
struct Problem;
struct TermTable;

// Writes one term's output values into every minterm row of problem.expanded_final_output that its
// cube covers (a later term overwrites an earlier one).
void expand_final_term(Problem& problem, const std::uint8_t* cube, const std::uint8_t* outputs);

// The proof: expands the final terms into problem.expanded_final_output (uncovered minterms take
// 1 - polarity) and compares it with the expanded input under its heading. A mismatch sets error_flag.
void final_comparison(RunContext& ctx, Problem& problem, const TermTable& terms);

}  // namespace vormel
