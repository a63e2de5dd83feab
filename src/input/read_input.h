#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// The Read Input File step: the lines of ctx.input_file into problem.input_lines (tabs become four
// blanks, leading blanks removed). A file that cannot be read: " Open Error" and error_flag.
void read_input_file(RunContext& ctx, Problem& problem);

}  // namespace vormel
