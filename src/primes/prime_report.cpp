#include "primes/prime_report.h"

#include "model/problem.h"
#include "report/number_format.h"
#include "report/run_context.h"
#include "report/text_width.h"

namespace vormel {

void write_text(RunContext& ctx, std::string_view text, int line_ends, Ink ink, int bold) {
    ReportChannel& report = ctx.report;
    if (report.interrupted()) return;
    switch (ink) {
        case Ink::plain: break;
        case Ink::red: report.text_red(bold); break;
        case Ink::navy: report.text_navy(bold); break;
        case Ink::blue: report.text_blue(bold); break;
        case Ink::green: report.text_green(bold); break;
    }
    report.display_text(text, line_ends);
}

void step_heading(RunContext& ctx, std::string_view title) {
    ctx.report.display_heading(title);
    ctx.window.set_status_line(title);
}

void report_out_of_memory(RunContext& ctx, const char* routine) { ctx.diag.out_of_memory(routine); }

std::string output_line_head(const Problem& problem, int output, int value) {
    const std::string name =
        pad_right(problem.ynames[static_cast<std::size_t>(output)], static_cast<std::size_t>(problem.ynames_maxlen));
    return " *** Output Function  y(" + format_mask("##", output) + ") : " + name + " =" + STR(value);
}

void list_implicants(RunContext& ctx, const Problem& problem, int output, int value, std::span<const Cube> cubes,
                     int mark) {
    const std::string title =
        " Output function y(" + TRIM(output) + ") : " + problem.ynames[static_cast<std::size_t>(output)] + " =" + STR(value);
    ctx.window.set_polarity_line(title);
    write_text(ctx, " *** " + title, 1, Ink::blue);
    write_text(ctx, "", 1);
    if (cubes.empty()) {
        write_text(ctx, " Function is not defined (no Minterms or no Implicants exist)", 1, Ink::red, 1);
    } else {
        const int inputs = problem.inputs();
        for (std::size_t r = 0; r < cubes.size(); ++r) {
            if (ctx.report.interrupted()) break;
            const int row = static_cast<int>(r);
            if (row == mark) write_text(ctx, "", 1);
            write_text(ctx, format_mask("* ###   ", row) + cube_string(cubes[r], inputs), 1);
        }
    }
    write_text(ctx, "", 1);
}

void report_generation_done(RunContext& ctx) {
    if (ctx.level() == 1) {
        ctx.report.flush_display(0);
        ctx.report.display_blank();
        write_text(ctx, " *** Primes Generation done", 2, Ink::navy, 1);
    }
    ctx.report.flush_display(0);
}

void report_set_start(RunContext& ctx, const Problem& problem, int output, int value, std::span<const Cube> set,
                      std::string_view level1_tail, std::string_view heading) {
    const int rows = static_cast<int>(set.size());
    if (ctx.level() == 1) {
        write_text(ctx, output_line_head(problem, output, value), 0);
        if (rows == 0) {
            write_text(ctx, "    is not defined", 0, Ink::red, 1);
        } else {
            write_text(ctx, "  " + format_mask("######", rows), 0, Ink::blue, 1);
            write_text(ctx, level1_tail, 0);
        }
    } else if (ctx.level() >= 2) {
        step_heading(ctx, heading);
        list_implicants(ctx, problem, output, value, set);
        write_text(ctx, " ***  " + format_mask("#", rows) + " Minterms", 1, Ink::blue);
        write_text(ctx, "", 1);
        ctx.report.flush_display(0);
        ctx.report.ask_reset();
    }
}

}  // namespace vormel
