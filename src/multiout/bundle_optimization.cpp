#include "multiout/bundle_optimization.h"

#include "model/problem.h"
#include "model/show_polarity.h"
#include "multiout/random_generator.h"
#include "multiout/reduction_steps.h"
#include "multiout/rolexa.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

BundleFigures figures_of(const CubeTable& table, const std::vector<int>& polarity) {
    const LiteralCounts counts = count_literals(to_term_table(table, polarity));
    return {counts.product_terms, counts.x_literals, counts.y_literals};
}

void show_new_best(RunContext& ctx, const BundleFigures& f, int step, const std::string& digits) {
    ctx.report.display_text(" New best  :  xlits=" + format_mask("####", f.xlits) + "  ylits=" + format_mask("####", f.ylits) +
                                "  pterms=" + format_mask("####", f.pterms) + "  (step " + format_mask("#####", step) + ") " +
                                "\t\t" + ": Polarity = " + digits,
                            1);
    ctx.report.flush_display(1);
}

}  // namespace

void show_bundle_step(RunContext& ctx, const std::vector<int>& polarity, const BundleStep& step,
                      BundleSearchBest& search_best) {
    if (ctx.level() > 0) {
        if (ctx.bundle_heading_pending != 0) {
            const std::string title = "  *** Bundle Optimization (8):  Statistical search of expandable DC";
            ctx.report.display_heading(title);
            ctx.window.set_status_line(title);
            ctx.bundle_heading_pending = 0;
        }
        show_polarity(ctx, polarity);
    }
    if (!step.figures.better_than(search_best.figures)) return;
    search_best.figures = step.figures;
    search_best.polarity = polarity;
    if (ctx.level() > 0) show_new_best(ctx, step.figures, step.step, polarity_digits(polarity));
}

void bundle_optimization(RunContext& ctx, const std::vector<int>& polarity, CubeTable& table, int& change_total,
                         BundleSearchBest& search_best) {
    bundle_optimization(ctx, polarity, table, change_total,
                        [&](const BundleStep& step) { show_bundle_step(ctx, polarity, step, search_best); });
}

void bundle_optimization(RunContext& ctx, const std::vector<int>& polarity, CubeTable& table, int& change_total,
                         const BundleStepSink& better_step) {
    ctx.current_sub = "bundle_optimization";
    RolexState rolex;
    rolex.lrolex = table.last();
    const CubeTable start = table;
    CubeTable best = table;
    ctx.diag.check_memory(0);
    ctx.diag.start_timer(" Bundle processing");
    ctx.diag.poll_progress(0);
    BundleFigures call_best;

    RandomGenerator rng;
    rng.seed(1.0f);
    for (int s = 1; s <= ctx.options.rolexa_iterations; ++s) {
        ctx.diag.poll_progress(0);
        change_total = 0;
        if (ctx.level() > 0) ctx.window.set_status_line(" *** Bundle Optimization:  Step" + STR(s));
        int repeat = 0;
        do {
            int expanded = 0, joined = 0, merged = 0, dropped = 0, absorbed = 0, dropped_again = 0, merged_again = 0;
            expand_x2(ctx, table, rolex, rng, expanded);
            if (ctx.failed()) return;
            join_equal_terms(table, joined);
            merge_adjacent_terms(table, merged);
            drop_empty_terms(table, dropped);
            absorb_y(ctx, table, absorbed);
            if (ctx.failed()) return;
            drop_empty_terms(table, dropped_again);
            merge_adjacent_terms(table, merged_again);
            change_total += expanded + joined + merged + dropped + absorbed + dropped_again + merged_again;
            repeat = expanded + joined + absorbed + dropped_again + merged_again;
        } while (repeat > 0);

        const BundleFigures figures = figures_of(table, polarity);
        if (figures.better_than(call_best)) {
            call_best = figures;
            best = table;
            better_step({s, figures});
        }
        table = start;
    }
    ctx.report.clear_interrupted();
    table = best;
    ctx.diag.stop_timer(" Bundle processing");
}

}  // namespace vormel
