#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// The Read Input File step: the lines of the input text into problem.input_lines. The text is the one
// the front end loaded (ctx.input_text), so the echo, the report and the parse all see the same
// bytes; without one the file is read here, once. CR LF, LF and a lone CR each end a line; tabs
// become four blanks and leading blanks are removed. A file that cannot be read: " Open Error" and
// error_flag; memory running out: the out-of-memory report.
void read_input_file(RunContext& ctx, Problem& problem);

}  // namespace vormel
