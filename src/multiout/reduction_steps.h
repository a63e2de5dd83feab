#pragma once

#include "multiout/cube_table.h"

namespace vormel {

struct RunContext;

// The deterministic reduction steps of the bundle optimization. Each keeps the function: every
// (input combination, output) pair is covered after the step exactly when it was before.

// Rows with equal cubes are joined into the first; the last row moves into the freed place.
void join_equal_terms(CubeTable& table, int& count);
// Rows adjacent across one input whose output sets are nested: the smaller set's row grows over both
// cubes and the other row gives up those outputs. count = output entries cleared.
void merge_adjacent_terms(CubeTable& table, int& count);
// Rows feeding no output are removed.
void drop_empty_terms(CubeTable& table, int& count);
// A row strictly contained in another gives up the outputs the other one feeds; all pairs are judged
// on the table as it was on entry.
void absorb_y(RunContext& ctx, CubeTable& table, int& count);

}  // namespace vormel
