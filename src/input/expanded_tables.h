#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// Creates the fully expanded table for the problem's inputs and outputs (2^inputs rows,
// zero-filled), empties expanded_final_output and samples the memory status. The caller has
// checked the counts.
void create_expanded_tables(RunContext& ctx, Problem& problem);
// Lets the previous problem's expanded tables go for a run that makes none.
void release_expanded_tables(Problem& problem);

}  // namespace vormel
