#include "input/expanded_tables.h"

#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

void release_expanded_tables(Problem& problem) {
    problem.extab = ExpandedTable{};
    problem.expanded_final_output = FinalOutput{};
}

void create_expanded_tables(RunContext& ctx, Problem& problem) {
    ctx.current_sub = "create_expanded_tables";
    // Release the previous problem's tables first so that the old and new never coexist.
    release_expanded_tables(problem);
    problem.extab.create(problem.inputs(), problem.outputs(), kZero);
    // expanded_final_output is set by the final comparison, from the final terms.
    ctx.diag.check_memory(0);
}

}  // namespace vormel
