#include "results/final_comparison.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "input/term_table_display.h"
#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

void expand_final_term(Problem& problem, const std::uint8_t* cube, const std::uint8_t* outputs) {
    ExpandedTable& table = problem.expanded_final_output;
    std::vector<int> fed;
    for (int j = 0; j < table.ny; ++j) {
        if (outputs[j] != kDash) fed.push_back(j);
    }
    if (fed.empty()) return;
    // Input 0 is the most significant bit of the row number.
    std::uint32_t base = 0;
    std::uint32_t free = 0;
    for (int k = 0; k < table.nx; ++k) {
        const std::uint32_t bit = std::uint32_t{1} << (table.nx - 1 - k);
        if (cube[k] == kOne) base |= bit;
        else if (cube[k] == kDash) free |= bit;
    }
    // Every subset of the free bits, once each.
    std::uint32_t subset = 0;
    do {
        std::uint8_t* y = table.y(static_cast<int>(base | subset));
        for (int j : fed) y[j] = outputs[j];
        subset = (subset - free) & free;
    } while (subset != 0);
}

void final_comparison(RunContext& ctx, Problem& problem, const TermTable& terms) {
    ctx.current_sub = "final_comparison";
    ReportChannel& report = ctx.report;
    ctx.diag.start_timer(" Final comparison");

    ExpandedTable& out = problem.expanded_final_output;
    out.create(problem.inputs(), problem.outputs(), kZero);
    ctx.diag.check_memory(0);
    // A minterm that no term covers takes the value of the set that is not realised.
    std::vector<std::uint8_t> uncovered(static_cast<std::size_t>(out.ny));
    for (int j = 0; j < out.ny; ++j) {
        const int polarity = j < static_cast<int>(problem.polarity.size()) ? problem.polarity[j] : 1;
        uncovered[j] = polarity == 0 ? kOne : kZero;
    }
    for (int r = 0; r <= out.last; ++r) {
        if (r % 4096 == 0) ctx.diag.poll_progress(0);
        std::copy(uncovered.begin(), uncovered.end(), out.y(r));
    }
    for (int i = 0; i <= terms.last; ++i) {
        ctx.diag.poll_progress(0);
        expand_final_term(problem, terms.x(i), terms.y(i));
    }

    const std::string title = " *** Final Results (2):  Comparison of Expanded Final Output with Input";
    report.display_heading(title);
    ctx.window.set_status_line(title);
    display_term_table(ctx, problem, out, true, TableMode::comparison);
}

}  // namespace vormel
