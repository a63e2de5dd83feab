#pragma once

namespace vormel {

struct RunContext;
struct Problem;
struct TermTable;

// Parses the normalised equation lines (F=A*/B+C) into the names, one input-table row per distinct
// product term and rest_values, and creates the expanded tables. Input errors set error_flag.
void parse_equations(RunContext& ctx, Problem& problem);

// Merges rows with equal X entries into the first of them (outputs ORed); a merged row's place is
// taken by the current last row, which is then compared in turn. O(n log n) with hashed lookups.
void merge_equal_terms(TermTable& table);

}  // namespace vormel
