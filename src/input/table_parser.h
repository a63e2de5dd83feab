#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// Parses the normalised table text (header, entry lines, optional $REST line) into the names, the
// input table and rest_values, and creates the expanded tables. Input errors set error_flag.
void parse_table(RunContext& ctx, Problem& problem);

}  // namespace vormel
