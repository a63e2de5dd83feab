#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// The Expand Inputs step: runs the format readers and parsers, then builds the fully expanded table
// with its reports. On failure error_flag is set (and error_count for numbered errors).
void expand_inputs(RunContext& ctx, Problem& problem);

}  // namespace vormel
