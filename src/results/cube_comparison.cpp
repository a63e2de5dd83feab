#include "results/cube_comparison.h"

#include <new>

#include "cubes/result_proof.h"
#include "input/term_table_display.h"
#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

void cube_comparison(RunContext& ctx, Problem& problem, const TermTable& terms) {
    ctx.current_sub = "cube_comparison";
    ReportChannel& report = ctx.report;
    const bool expanded = problem.extab.rows() > 0;
    const std::string title = " *** Final Results (2):  Comparison of Final Terms with the Input's Cubes";
    report.display_heading(title);
    ctx.window.set_status_line(title);
    ctx.diag.start_timer(" Cube comparison");
    const std::vector<cubes::ProofFault> faults = cubes::prove_result(problem, terms);
    if (!expanded) cubes::mark_equal_realised_outputs(problem, terms);
    ctx.diag.stop_timer(" Cube comparison");
    problem.cube_proof = faults.empty() ? ProofOutcome::passed : ProofOutcome::failed;
    for (const cubes::ProofFault& fault : faults) {
        report.text_red(1);
        report.display_text(" " + problem.ynames[fault.output] +
                                (fault.missing ? ": not covered: input cube " : ": term reaches the OFF-Set: ") + fault.cube,
                            1);
    }
    if (!expanded) display_function_notes(report, problem);
    display_comparison_verdict(ctx, !faults.empty());
}

}  // namespace vormel
