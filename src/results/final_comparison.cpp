#include "results/final_comparison.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "input/term_table_display.h"
#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

void final_comparison(RunContext& ctx, Problem& problem, const TermTable& terms) {
    ctx.current_sub = "final_comparison";
    ReportChannel& report = ctx.report;
    ctx.diag.start_timer(" Final comparison");

    // A minterm that no term covers takes the value of the set that is not realised.
    std::vector<std::uint8_t> uncovered(static_cast<std::size_t>(problem.outputs()));
    for (int j = 0; j < problem.outputs(); ++j) {
        const int polarity = j < static_cast<int>(problem.polarity.size()) ? problem.polarity[j] : 1;
        uncovered[j] = polarity == 0 ? kOne : kZero;
    }
    problem.expanded_final_output = FinalOutput(problem.inputs(), terms, std::move(uncovered));
    const FinalOutput& out = problem.expanded_final_output;
    ctx.diag.check_memory(0);

    const std::string title = " *** Final Results (2):  Comparison of Expanded Final Output with Input";
    report.display_heading(title);
    ctx.window.set_status_line(title);
    display_term_table(ctx, problem, out, true, TableMode::comparison);
}

}  // namespace vormel
