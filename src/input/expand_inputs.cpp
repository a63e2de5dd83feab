#include "input/expand_inputs.h"

#include "input/equation_parser.h"
#include "input/general_reader.h"
#include "input/input_text.h"
#include "input/minterm_expansion.h"
#include "input/pla_reader.h"
#include "input/row_conflicts.h"
#include "input/size_limits.h"
#include "input/table_parser.h"
#include "input/term_table_display.h"
#include "model/problem.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

void read_problem(RunContext& ctx, Problem& problem) {
    problem.past_classic_limits = false;
    problem.input_ext = ctx.read_as_pla ? "pla" : extension_of(ctx.input_file);
    problem.input_type.clear();
    if (problem.input_ext == "pla") read_pla(ctx, problem);
    else read_general(ctx, problem);
    if (ctx.failed()) return;
    if (problem.input_type == "BOOLEAN") parse_equations(ctx, problem);
    else parse_table(ctx, problem);
}

}  // namespace

void expand_inputs(RunContext& ctx, Problem& problem) {
    ctx.current_sub = "expand_inputs";
    ReportChannel& report = ctx.report;
    ctx.diag.poll_progress(0);
    read_problem(ctx, problem);
    if (ctx.failed()) return;
    ctx.current_sub = "expand_inputs";

    problem.polarity.assign(static_cast<std::size_t>(problem.outputs()), 1);
    problem.out_related.assign(static_cast<std::size_t>(problem.outputs()), -1);
    problem.out_code.assign(static_cast<std::size_t>(problem.outputs()), relation_ordinary);

    if (ctx.level() > 2) {
        report.clear_buffer();
        const std::string title = " *** Expand Input (3):  Input Table Format";
        report.display_heading(title);
        ctx.window.set_status_line(title);
        display_term_table(ctx, problem, problem.intab, true, TableMode::plain);
        report.flush_display(1);
        report.ask_reset();
        if (ctx.failed()) return;
    }
    report.display_text(format_mask(" Number of Variables : X-Input = ##", problem.inputs()) +
                            format_mask("   Y-Output = ###", problem.outputs()),
                        1);

    const bool expanded = problem.extab.rows() > 0;
    problem.expanded_literals = 0;
    if (expanded) {
        expand_table(ctx, problem);
        if (ctx.failed()) return;
        const LiteralCounts counts = count_literals(problem.extab);
        problem.expanded_literals = static_cast<double>(counts.x_literals) + counts.y_literals;
    } else if (!rows_agree(ctx, problem)) {
        return;
    }
    report.display_text(" Type of Input File  : " + problem.input_type, 1);

    if (ctx.level() > 0 && !expanded) {
        const std::string title = " *** Expand Input (4):  Fully Expanded Input Table left out";
        report.display_heading(title);
        ctx.window.set_status_line(title);
        report.display_text(" 2^" + std::to_string(problem.inputs()) +
                                " rows: the cube methods work on the input rows and show the expanded table only up to 2^" +
                                std::to_string(kMaxShownExpansionInputs) + " rows.",
                            1);
    } else if (ctx.level() > 0) {
        std::string title = " *** Expand Input (4):  Fully Expanded Input Table";
        if (problem.rest_used) title += ". $REST values used";
        report.display_heading(title);
        ctx.window.set_status_line(title);
        problem.rest_used = false;
        display_term_table(ctx, problem, problem.extab, true, TableMode::plain);
    }
    report.flush_display(1);
    problem.rest_used = false;
}

}  // namespace vormel
