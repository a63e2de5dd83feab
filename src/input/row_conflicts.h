#pragma once

namespace vormel {

struct RunContext;
struct Problem;

// The expansion's rule for overlapping rows, checked on the rows themselves for a run that makes no
// minterm table: where one row says 1 and another 0 for the same output at a common point, a .pla
// of type fd and equations let the 1 win; every other input is in conflict. False after input
// error 9, which names the first such pair of rows.
bool rows_agree(RunContext& ctx, const Problem& problem);

}  // namespace vormel
