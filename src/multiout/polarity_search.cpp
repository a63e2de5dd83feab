#include "multiout/polarity_search.h"

#include "model/problem.h"
#include "model/show_polarity.h"
#include "multiout/polarity_work.h"
#include "primes/prime_store.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

void report_polarity(RunContext& ctx, const Problem& problem) {
    const int mode = ctx.options.polarity_mode;
    const bool requested = mode == polarity_zero_set || mode == polarity_one_set;
    const std::string text = (requested ? " Requested Polarity = " : " Optimized Polarity = ") + polarity_digits(problem);
    if (ctx.options.rolexa_iterations > 0) {
        ctx.report.display_blank();
        ctx.report.text_navy(1);
        ctx.report.display_text(" *** " + STR(ctx.options.rolexa_iterations) + " ROLEXA Variation(s) done. " + text, 1);
    } else {
        ctx.report.text_navy(1);
        ctx.report.display_text(" *** " + text, 1);
    }
    show_polarity(ctx, problem, true);
    ctx.report.flush_display(0);
    ctx.report.display_blank();
}

}  // namespace

void polarity_search(RunContext& ctx, Problem& problem, PrimeStore& store) {
    ctx.current_sub = "polarity_search";
    const int ny = problem.outputs();
    if (ny < 1) return;
    PolarityWork work;
    work.reset(problem, store);
    ctx.diag.check_memory(0);
    problem.polarity.resize(static_cast<std::size_t>(ny), 1);

    switch (ctx.options.polarity_mode) {
        case polarity_zero_set:
            problem.polarity.assign(static_cast<std::size_t>(ny), 0);
            break;
        case polarity_automatic:
            try_both_polarities(ctx, problem, store, work);
            if (ctx.failed()) return;
            if (work.best_polarity[0] == -3) ctx.diag.show_error("", 16);
            if (ctx.failed()) return;
            sweep_polarity(ctx, problem, store, work);
            if (ctx.failed()) return;
            refine_polarity(ctx, problem, store, work);
            if (ctx.failed()) return;
            problem.polarity = work.best_polarity;
            break;
        case polarity_combination:
            try_both_polarities(ctx, problem, store, work);
            if (ctx.failed()) return;
            try_all_combinations(ctx, problem, store, work);
            if (ctx.failed()) return;
            problem.polarity = work.best_polarity;
            break;
        default:
            problem.polarity.assign(static_cast<std::size_t>(ny), 1);
            break;
    }

    int changes = 0;
    fill_temp_arrays(ctx, problem, problem.polarity, store, work, changes);
    if (ctx.failed()) return;
    report_polarity(ctx, problem);
    problem.final_terms = to_term_table(work.table, problem.polarity);
    ctx.diag.poll_progress(0);
}

}  // namespace vormel
