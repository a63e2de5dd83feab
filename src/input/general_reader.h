#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// Turns the input lines of every format but .pla into the normalised table or equation text and
// decides input_type. The extensions "tdf" and "dcb" add their own rules. On an input error the
// lines are left as they were and error_flag is set.
void read_general(RunContext& ctx, Problem& problem);

}  // namespace vormel
