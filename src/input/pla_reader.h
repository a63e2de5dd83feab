#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// Reads a PLA table (.i, .o, .p, .ilb, .ob, .type, data lines up to .e) into the normalised table
// text, with the $REST line its type calls for. Sets xmax, ymax and pla_type; errors set error_flag.
void read_pla(RunContext& ctx, Problem& problem);

}  // namespace vormel
