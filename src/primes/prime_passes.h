#pragma once
#include <vector>

#include "primes/cube_mask.h"

namespace vormel {

struct RunContext;
struct Problem;

// The polarity passes of prime generation. 0-Set and 1-Set: every output's polarity becomes that
// set and one pass uses it; Automatic and Combination: a pass over the 0-sets, then one over the
// 1-sets. Shows the polarity status line; returns the number of passes.
int prepare_polarity_passes(RunContext& ctx, Problem& problem);
// The set value that output j uses in the given pass.
int pass_value(const Problem& problem, int passes, int pass, int output);

// The minterms (in increasing order) whose output j holds the value or a don't care.
std::vector<Cube> output_set(const Problem& problem, int output, int value);

}  // namespace vormel
