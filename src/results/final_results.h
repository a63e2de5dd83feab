#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// Final Results: polarity, minimum product terms, the proof against the expanded input, the Boolean
// equations, the gate count and the end line. A failed proof sets error_flag.
void final_results(RunContext& ctx, Problem& problem);

}  // namespace vormel
