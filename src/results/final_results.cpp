#include "results/final_results.h"

#include <ctime>

#include "input/term_table_display.h"
#include "model/problem.h"
#include "model/show_polarity.h"
#include "report/run_context.h"
#include "results/boolean_equations.h"
#include "results/count_gates.h"
#include "results/cube_comparison.h"
#include "results/final_comparison.h"
#include "results/sort_final_terms.h"

namespace vormel {

namespace {

// The "Reset ?" pause between sections; false when the run is to end.
bool pause_between_sections(RunContext& ctx) {
    if (ctx.options.display_level > 1) ctx.report.ask_reset();
    return !ctx.failed();
}

std::string today_mm_dd_yyyy() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%m-%d-%Y", &local);
    return text;
}

}  // namespace

void final_results(RunContext& ctx, Problem& problem) {
    ctx.current_sub = "final_results";
    ReportChannel& report = ctx.report;
    if (problem.inputs() < 1 || problem.outputs() < 1) {
        // Nothing was read: there is no function to prove.
        ctx.diag.runtime_error(5, ctx.current_sub);
        return;
    }

    TermTable terms(problem.inputs(), problem.outputs());
    if (problem.final_terms.last >= 0) {
        terms = problem.final_terms;
        sort_final_terms(terms);
    }

    report.display_heading(" *** Final Results (0):  Output Polarity");
    report.display_text(" Final Polarity = " + polarity_digits(problem), 1);
    report.display_blank();

    const std::string title = " *** Final Results (1):  Minimum Product Terms";
    report.display_heading(title);
    ctx.window.set_status_line(title);
    show_polarity(ctx, problem, true);
    ctx.diag.start_timer(" Final results");
    display_term_table(ctx, problem, terms, false, TableMode::final);
    report.flush_display(0);
    ctx.diag.stop_timer(" Final results");
    report.clear_interrupted();
    if (!pause_between_sections(ctx)) return;

    // An empty result still goes through the proof: every output is then 1 - polarity everywhere.
    if (terms.last < 0) terms.append_row();
    // The minterm comparison runs while the expanded table exists: for every classic run, and for a
    // cube-method run of a small function, which is then proven on cubes as well.
    problem.cube_proof = ProofOutcome::not_run;
    if (problem.extab.rows() > 0) {
        final_comparison(ctx, problem, terms);
        report.flush_display(0);
    }
    if (cube_engine(ctx.options.prime_method) && !ctx.failed()) {
        cube_comparison(ctx, problem, terms);
        report.flush_display(0);
    }
    if (!pause_between_sections(ctx)) return;

    ctx.diag.start_timer(" Boolean equations");
    boolean_equations(ctx, problem, terms);
    report.flush_display(0);
    ctx.diag.stop_timer(" Boolean equations");
    if (!pause_between_sections(ctx) && ctx.options.display_level > 0) return;
    count_gates(ctx, problem, terms);
    report.flush_display(0);

    if (ctx.options.display_level > 2) ctx.diag.check_memory(2);
    report.display_heading(std::string(" *** End of ") + " Vormel " + " - " + version_label() + " - " +
                           today_mm_dd_yyyy() + ".  Total CPU time:" + ctx.diag.time_text());
    ctx.diag.poll_progress(0);
}

}  // namespace vormel
