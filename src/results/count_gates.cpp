#include "results/count_gates.h"

#include <vector>

#include <fmt/format.h>

#include "model/problem.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

// The next size above `after` with a gate, or 0 when none is left.
int next_size(const std::vector<int>& counts, int after) {
    for (int size = after + 1; size < static_cast<int>(counts.size()); ++size) {
        if (counts[size] > 0) return size;
    }
    return 0;
}

}  // namespace

GateCount gate_count(const Problem& problem, const TermTable& terms) {
    // Only ordinary outputs need gates; a term feeding none of them needs no AND gate.
    GateCount count;
    count.and_count.assign(static_cast<std::size_t>(terms.nx) + 1, 0);
    count.or_count.assign(static_cast<std::size_t>(terms.rows()) + 1, 0);
    std::vector<int> terms_of_output(static_cast<std::size_t>(terms.ny), 0);
    for (int r = 0; r <= terms.last; ++r) {
        const std::uint8_t* y = terms.y(r);
        int fed = 0;
        for (int j = 0; j < terms.ny; ++j) {
            if (y[j] == kDash || problem.out_code[j] != relation_ordinary) continue;
            ++fed;
            ++terms_of_output[j];
        }
        if (fed == 0) continue;
        int literals = 0;
        for (int i = 0; i < terms.nx; ++i) literals += terms.x(r)[i] != kDash;
        if (literals >= 2) ++count.and_count[literals];
    }
    for (int j = 0; j < terms.ny; ++j) {
        if (terms_of_output[j] >= 2) ++count.or_count[terms_of_output[j]];
    }
    for (std::size_t size = 2; size < count.and_count.size(); ++size) {
        count.gates += count.and_count[size];
        count.gate_inputs += static_cast<long long>(size) * count.and_count[size];
    }
    for (std::size_t size = 2; size < count.or_count.size(); ++size) {
        count.gates += count.or_count[size];
        count.gate_inputs += static_cast<long long>(size) * count.or_count[size];
    }
    return count;
}

void count_gates(RunContext& ctx, const Problem& problem, const TermTable& terms) {
    ctx.current_sub = "count_gates";
    ReportChannel& report = ctx.report;
    const bool shown = ctx.options.display_level > 0;
    ctx.diag.poll_progress(0);
    const GateCount count = gate_count(problem, terms);
    const std::vector<int>& and_count = count.and_count;
    const std::vector<int>& or_count = count.or_count;

    if (shown) {
        const std::string title = " *** Final Results (4):  Number of Gates (without Inverters)";
        report.display_heading(title);
        ctx.window.set_status_line(title);
    }
    const long long total = count.gate_inputs;
    int and_size = next_size(and_count, 1);
    int or_size = next_size(or_count, 1);
    if (and_size == 0 && or_size == 0 && shown) {
        report.clear_interrupted();
        report.text_blue(0);
        report.display_text("       - no Gates -", 1);
    }
    while (and_size != 0 || or_size != 0) {
        std::string line;
        if (and_size != 0) {
            line = format_mask(" ###", and_count[and_size]) + " * AND_" + fmt::format("{:<3}", and_size);
        } else {
            line.assign(14, ' ');
        }
        if (or_size != 0) {
            line += format_mask("###", or_count[or_size]) + " * OR_" + TRIM(or_size);
        }
        if (shown) {
            report.clear_interrupted();
            report.text_blue(0);
            report.display_text(line, 1);
        }
        if (and_size != 0) and_size = next_size(and_count, and_size);
        if (or_size != 0) or_size = next_size(or_count, or_size);
    }
    if (shown) report.display_blank();
    report.text_navy(1);
    report.display_text(" *** Total Number of Gate Inputs:" + STR(static_cast<double>(total)), 1);
    report.display_blank();
}

}  // namespace vormel
