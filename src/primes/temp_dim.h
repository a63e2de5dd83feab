#pragma once
#include <string_view>
#include <vector>

namespace vormel {

struct RunContext;
struct Problem;
struct TermTable;

// Makes sure a working table has a row with index `needed`, keeping its rows. It grows to
// 2 * max(needed, extab rows) - 1 as last index, so long runs of appends reallocate rarely;
// at display level 4 the growth is announced (System Warning 6).
void check_temp_DIM(RunContext& ctx, const Problem& problem, TermTable& table, int needed, std::string_view name);
// The same for a list of 32-bit integers (System Warning 7).
void check_temp_DIM(RunContext& ctx, const Problem& problem, std::vector<int>& list, int needed, std::string_view name);

// The growth rule for tables whose storage the caller keeps itself: returns the last index the
// table must have (current_last when that suffices), announcing growth with System Warning
// `warning` (6: byte table, 7: integer list).
int temp_DIM_last(RunContext& ctx, const Problem& problem, int current_last, int needed, std::string_view name,
                  int warning);

}  // namespace vormel
