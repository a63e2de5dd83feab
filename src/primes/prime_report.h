#pragma once
#include <span>
#include <string>
#include <string_view>

#include "primes/cube_mask.h"

namespace vormel {

struct RunContext;
struct Problem;

enum class Ink { plain, red, navy, blue, green };

// display_text in a colour. Inside an interrupted display nothing is written and no colour is left
// pending for the text after the display.
void write_text(RunContext& ctx, std::string_view text, int line_ends, Ink ink = Ink::plain, int bold = 0);
// The closing line of a generation at display level 1, then the last flush.
void report_generation_done(RunContext& ctx);
// A section heading that is also shown in the status line.
void step_heading(RunContext& ctx, std::string_view title);

// An allocation failed inside `routine`: the out-of-memory report, which ends the run.
void report_out_of_memory(RunContext& ctx, const char* routine);

// " *** Output Function  y( j) : name =" + STR(v): the start of an output's level-1 line.
std::string output_line_head(const Problem& problem, int output, int value);

// The implicant lister: the output's title (also to the polarity status line), then one line per
// cube, "* ###   " row index and cube, with a blank line before row `mark`; " Function is not
// defined ..." for an empty list; a blank line at the end.
void list_implicants(RunContext& ctx, const Problem& problem, int output, int value, std::span<const Cube> cubes,
                     int mark = -1);

// The set an output starts from: at level 1 the start of its line (" is not defined" or the count
// and level1_tail); at level 2 and above the heading, the list, the count and the pause.
void report_set_start(RunContext& ctx, const Problem& problem, int output, int value, std::span<const Cube> set,
                      std::string_view level1_tail, std::string_view heading);

}  // namespace vormel
