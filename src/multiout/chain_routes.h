#pragma once
#include <cstdint>

#include "multiout/rolexa.h"

namespace vormel {

struct RunContext;

// What the chain search needs to know about routes without walking them in shuffled order. All
// cubes of one search share a care mask; two are joined by a row that doubles one of them and may
// still be split. A route ends on a cube that a row equal to it may take over.

// Whether the row lies on no chain now (neither the eliminated term nor split on the chain).
bool may_split(const RolexState& s, int row);
// Whether some route from the cube ends.
bool chain_can_end(RolexState& s, std::uint32_t care, std::uint32_t value);
// Labels each cube joined to the given one with its distance to the nearest end (kept in s.label)
// and returns the given cube's distance, -1 when no route from it ends.
int label_component(RolexState& s, std::uint32_t care, std::uint32_t value);
// Levels a search from the cube enters when no route ends: one per route (rows used in order),
// the empty route included. A route longer than lrolex: System Error 5, error_flag.
std::uint64_t failing_levels(RunContext& ctx, RolexState& s, std::uint32_t care, std::uint32_t value);

}  // namespace vormel
