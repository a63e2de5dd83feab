#include "input/input_report.h"

#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

void show_reformatted_input(RunContext& ctx, const Problem& problem) {
    ReportChannel& report = ctx.report;
    report.clear_buffer();
    const std::string title = " *** Expand Input (2):  Re-formatted Input File (" + problem.input_type + ")";
    report.display_heading(title);
    ctx.window.set_status_line(title);
    for (const std::string& line : problem.input_lines) {
        if (report.interrupted()) break;
        report.display_text(" " + line, 1);
    }
    report.flush_display(1);
    report.ask_reset();
}

}  // namespace vormel
