#pragma once

namespace vormel {

struct RunContext;
struct Problem;
struct TermTable;
struct ExpandedTable;
class FinalOutput;

// Marks constant outputs (fed by a row without literals) and undefined outputs (no row specifies
// them) in out_relation.
void find_constant_functions(RunContext& ctx, Problem& problem, const TermTable& table);
void find_constant_functions(RunContext& ctx, Problem& problem, const ExpandedTable& table);
void find_constant_functions(RunContext& ctx, Problem& problem, const FinalOutput& table);

// Marks each still ordinary output that has the don't-care positions of an earlier ordinary or
// constant output and its values (identical) or their complements (inverse); a later match wins.
void find_equal_functions(RunContext& ctx, Problem& problem, const TermTable& table);
void find_equal_functions(RunContext& ctx, Problem& problem, const ExpandedTable& table);
void find_equal_functions(RunContext& ctx, Problem& problem, const FinalOutput& table);

// Sizes out_relation for the problem's outputs; entries not yet held start ordinary (-1).
void ensure_out_relation(Problem& problem);

}  // namespace vormel
