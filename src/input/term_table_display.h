#pragma once

namespace vormel {

struct RunContext;
class ReportChannel;
struct Problem;
struct TermTable;
struct ExpandedTable;
class FinalOutput;

enum class TableMode { plain, final, comparison };

// Prints a term table under its staircase name header. Final mode analyses the outputs (constant,
// undefined, identical, inverse) into out_relation; comparison mode compares the shown Y values with
// problem.extab and ends with the final comparison verdict (error_flag on a mismatch). Y don't cares
// print as "-" when dash is true, else as ".".
void display_term_table(RunContext& ctx, Problem& problem, const TermTable& table, bool dash, TableMode mode);
void display_term_table(RunContext& ctx, Problem& problem, const ExpandedTable& table, bool dash, TableMode mode);
// The final output is shown in comparison mode only.
void display_term_table(RunContext& ctx, Problem& problem, const FinalOutput& table, bool dash, TableMode mode);

// The notes on constant, undefined, identical and inverse outputs that end a final or comparison table.
void display_function_notes(ReportChannel& report, const Problem& problem);
// The comparison's last line: success, or failure (error_flag set).
void display_comparison_verdict(RunContext& ctx, bool failed);

}  // namespace vormel
