#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// "Expand Input (2)": the normalised input lines under their heading, then the "Reset ?" pause
// (a Break there sets error_flag).
void show_reformatted_input(RunContext& ctx, const Problem& problem);

}  // namespace vormel
