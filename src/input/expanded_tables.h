#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// Creates the fully expanded table and expanded_final_output for the problem's inputs and outputs
// (2^inputs rows, zero-filled) and samples the memory status. The caller has checked the counts.
void create_expanded_tables(RunContext& ctx, Problem& problem);

}  // namespace vormel
