#include "input/term_table_display.h"

#include <algorithm>
#include <string>
#include <type_traits>

#include <tbb/task_group.h>

#include "input/expanded_rows.h"
#include "input/output_analysis.h"
#include "input/table_access.h"
#include "model/problem.h"
#include "report/number_format.h"
#include "report/run_context.h"
#include "report/run_threads.h"
#include "report/text_width.h"

namespace vormel {

namespace {

int decimal_digits(long long value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

// Column positions shared by the header, the rule, the rows and the $REST line.
struct Layout {
    int w = 0;   // row-number field: one more than the digits of the expanded row count
    int xw = 0;  // widest input name plus the inputs to its right
    int yw = 0;  // widest output name plus the outputs to its left
    int p0 = 0;  // position of input column 0
    int nx = 0;
    int ny = 0;

    // Without an expanded table (a cube-method run of a wide function) the shown table's rows count.
    Layout(const Problem& problem, int table_last) : nx(problem.inputs()), ny(problem.outputs()) {
        w = 1 + decimal_digits(static_cast<long long>(problem.extab.rows() > 0 ? problem.extab.last : table_last) + 1);
        for (int i = 0; i < nx; ++i) xw = std::max(xw, static_cast<int>(text_width(problem.xnames[i])) + nx - 1 - i);
        for (int j = 0; j < ny; ++j) yw = std::max(yw, static_cast<int>(text_width(problem.ynames[j])) + j);
        p0 = w + 1 + xw - (nx - 1);
    }
    int x_area() const { return p0 + nx; }  // characters up to and including the last input column
};

// Name staircases, bottom-aligned: the last line carries input 0 and the last output.
void display_header(ReportChannel& report, const Problem& problem, const Layout& layout) {
    const int lines = std::max(layout.nx, layout.ny);
    std::string line;
    for (int t = 0; t < lines; ++t) {
        const int input = lines - 1 - t;
        const int output = layout.ny - 1 - (lines - 1 - t);
        line.clear();
        if (input < layout.nx) {
            const std::string& name = problem.xnames[input];
            line.append(static_cast<std::size_t>(layout.p0 + input + 1) - text_width(name), ' ');
            line += name;
            line.append(static_cast<std::size_t>(layout.nx - 1 - input), '|');
        } else {
            line.append(static_cast<std::size_t>(layout.x_area()), ' ');
        }
        if (output >= 0) {
            line += "  ";
            line.append(static_cast<std::size_t>(output), '|');
            line += problem.ynames[output];
        }
        report.display_text(line, 1);
    }
    const int first_len = static_cast<int>(text_width(problem.xnames[0]));
    line.assign(static_cast<std::size_t>(layout.p0 + 1 - first_len), ' ');
    line.append(static_cast<std::size_t>(first_len - 1), '-');
    line.append(static_cast<std::size_t>(layout.nx), '+');
    line += "--";
    line.append(static_cast<std::size_t>(layout.ny), '+');
    line.append(static_cast<std::size_t>(layout.yw - layout.ny), '-');
    report.display_text(line, 1);
}

// The row number right-aligned in width characters (wider numbers are written in full).
void append_right_aligned(std::string& line, int number, int width) {
    char digits[16];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
    if (count < width) line.append(static_cast<std::size_t>(width - count), ' ');
    while (count > 0) line += digits[--count];
}

char value_char(std::uint8_t value, char dash) {
    switch (value) {
        case kZero: return '0';
        case kOne: return '1';
        default: return dash;
    }
}

struct RowTally {
    long long blue = 0;
    bool failed = false;
};

// One row's report line, built in a reused buffer. In comparison mode every Y value is checked
// against the expanded input: a don't care there prints blue, a difference red. Colour pieces split
// the line; otherwise the line goes out in one call.
template <typename Table>
void display_row(ReportChannel& report, const Table& table, const Layout& layout, char dash, int r,
                 const std::uint8_t* expected, const std::string& gap, std::string& line, RowTally& tally) {
    const std::uint8_t* y = table.y(r);
    line.clear();
    append_right_aligned(line, r, layout.w);
    line += gap;
    for (int i = 0; i < layout.nx; ++i) line += value_char(x_value(table, r, i), '-');
    line += "  ";
    for (int j = 0; j < layout.ny; ++j) {
        const char c = value_char(y[j], dash);
        if (expected == nullptr || (expected[j] != kDash && expected[j] == y[j])) {
            line += c;
            continue;
        }
        if (expected[j] == kDash) {
            ++tally.blue;
            report.display_text(line, 0);
            report.text_blue(1);
        } else {
            tally.failed = true;
            report.display_text(line, 0);
            report.text_red(1);
        }
        report.display_text(std::string_view(&c, 1), 0);
        line.clear();
    }
    report.display_text(line, 1);
}

template <typename Table>
RowTally display_rows(RunContext& ctx, const Problem& problem, const Table& table, const Layout& layout, char dash,
                      bool comparison) {
    ReportChannel& report = ctx.report;
    RowTally tally;
    std::string line;
    const std::string gap(static_cast<std::size_t>(layout.p0 - layout.w), ' ');
    for (int r = 0; r <= table.last; ++r) {
        if (r % 200 == 0) ctx.diag.poll_progress(0);
        const bool shown = !report.interrupted();
        if (!shown && !comparison) break;
        const std::uint8_t* expected = comparison && r <= problem.extab.last ? problem.extab.y(r) : nullptr;
        if (!shown) {
            // The display was interrupted: the comparison still covers every row.
            if (expected == nullptr) continue;
            const std::uint8_t* y = table.y(r);
            for (int j = 0; j < layout.ny; ++j) {
                if (expected[j] == kDash) ++tally.blue;
                else if (y[j] != expected[j]) tally.failed = true;
            }
            continue;
        }
        display_row(report, table, layout, dash, r, expected, gap, line, tally);
    }
    return tally;
}

// An expanded table of up to 4,194,304 rows: blocks of rows are formatted on all threads and go
// out in row order. Without page pauses nothing can interrupt the display, so the text and its
// colours are the same as row by row.
template <typename Table>
RowTally display_expanded_rows(RunContext& ctx, const Problem& problem, const Table& table, const Layout& layout,
                               char dash, bool comparison) {
    ReportChannel& report = ctx.report;
    if (!report.direct_ok()) return display_rows<Table>(ctx, problem, table, layout, dash, comparison);
    RowTally tally;
    const ExpandedRowLayout row_layout{layout.w, layout.p0 - layout.w, dash};
    const ExpandedTable* expected = comparison ? &problem.extab : nullptr;
    constexpr int kBlockRows = 16384;
    const int blocks = table.last / kBlockRows + 1;
    // A few blocks per thread at a time keep the text that waits small; the next batch is formatted
    // while this one goes out.
    const int batch = 4 * std::max(1, threads::available());
    std::vector<ExpandedRowText> texts[2];
    const auto format_batch = [&](int b0, std::vector<ExpandedRowText>& into) {
        const int b1 = std::min(blocks, b0 + batch);
        into.resize(static_cast<std::size_t>(b1 - b0));
        threads::for_each_index(b0, b1, [&](int b) {
            const int last = std::min(table.last, (b + 1) * kBlockRows - 1);
            format_expanded_rows(table, expected, row_layout, b * kBlockRows, last, into[static_cast<std::size_t>(b - b0)]);
        });
    };
    const auto display_batch = [&](const std::vector<ExpandedRowText>& batch_texts) {
        for (const ExpandedRowText& text : batch_texts) {
            ctx.diag.poll_progress(0);
            report.display_formatted(text.text, text.runs);
            tally.blue += text.blue;
            tally.failed = tally.failed || text.failed;
        }
    };
    if (threads::one_thread()) {
        for (int b0 = 0; b0 < blocks; b0 += batch) {
            format_batch(b0, texts[0]);
            display_batch(texts[0]);
        }
        return tally;
    }
    format_batch(0, texts[0]);
    tbb::task_group next;
    for (int b0 = 0, current = 0; b0 < blocks; b0 += batch, current ^= 1) {
        if (b0 + batch < blocks) next.run([&, b0, current] { format_batch(b0 + batch, texts[current ^ 1]); });
        display_batch(texts[current]);
        next.wait();
    }
    return tally;
}

RowTally display_rows(RunContext& ctx, const Problem& problem, const ExpandedTable& table, const Layout& layout,
                      char dash, bool comparison) {
    return display_expanded_rows(ctx, problem, table, layout, dash, comparison);
}

RowTally display_rows(RunContext& ctx, const Problem& problem, const FinalOutput& table, const Layout& layout,
                      char dash, bool comparison) {
    return display_expanded_rows(ctx, problem, table, layout, dash, comparison);
}

void display_rest_line(ReportChannel& report, const Problem& problem, const Layout& layout) {
    std::string line(static_cast<std::size_t>(layout.x_area() - 5), ' ');
    line += "$REST  ";
    for (int j = 0; j < layout.ny; ++j) line += value_char(problem.rest_values[j], '-');
    report.display_text(line, 1);
}

// " ***  X_Literals = ..." with the gain from position 75 once the run has reached bundle optimization.
template <typename Table>
void display_statistics(RunContext& ctx, const Problem& problem, const Table& table) {
    ReportChannel& report = ctx.report;
    const LiteralCounts counts = count_literals(table);
    std::string line = " ***  X_Literals =" + STR(counts.x_literals) + "   Y_Literals =" + STR(counts.y_literals) +
                       "   P_Terms =" + STR(counts.product_terms) + "   ";
    const int total = counts.x_literals + counts.y_literals;
    if (total > 0 && ctx.run_state >= 8 && problem.extab.rows() > 0) {
        const double gain = problem.expanded_literals / total;
        const int length = static_cast<int>(line.size());
        line += "  ";
        if (gain != 1.0) {
            line.append(static_cast<std::size_t>(std::max(0, 73 - length)), ' ');
            line += ": Gain = " + format_mask(gain < 1.5 ? "#.##" : "#.#", gain);
        }
    }
    report.text_navy(1);
    report.display_text(line, 1);
    if (!problem.rest_used && counts.product_terms > problem.intab.last + 1) {
        report.text_blue(0);
        report.display_text(" *** Note: Final Number of P_Terms is larger than the original Input Table", 1);
    } else if (problem.rest_used && problem.extab.rows() > 0 && counts.product_terms > problem.extab.last + 1) {
        report.display_text(" *** Note: Final Number of P_Terms is larger than the original expanded Table", 1);
    }
}

template <typename Table>
void display_table(RunContext& ctx, Problem& problem, const Table& table, bool dash, TableMode mode) {
    ctx.current_sub = "display_term_table";
    ReportChannel& report = ctx.report;
    const bool final_mode = mode == TableMode::final;
    const bool comparison = mode == TableMode::comparison;
    const Layout layout(problem, table.last);
    if (final_mode || comparison) ensure_out_relation(problem);

    if (table.last < 0) {
        report.text_red(1);
        report.display_text(" *** No Terms to be displayed", 1);
    } else {
        display_header(report, problem, layout);
    }
    if (final_mode) find_constant_functions(ctx, problem, table);
    const RowTally tally = display_rows(ctx, problem, table, layout, dash ? '-' : '.', comparison);
    report.flush_display(0);
    if (problem.rest_used) display_rest_line(report, problem, layout);

    if (final_mode || comparison) {
        if (tally.blue > 0) {
            report.text_blue(0);
            report.display_text(" *** Original Output Don't Cares result in the", 0);
            report.text_blue(1);
            report.display_text("  blue 0 and 1  ", 0);
            report.text_blue(0);
            report.display_text("values", 1);
        }
        find_equal_functions(ctx, problem, table);
        display_function_notes(report, problem);
    }

    if (comparison) {
        ctx.diag.stop_timer(" Final comparison");
        display_comparison_verdict(ctx, tally.failed);
        if (tally.failed) return;
    } else if constexpr (!std::is_same_v<Table, FinalOutput>) {
        display_statistics(ctx, problem, table);
    }
    ctx.error_flag = 0;
    ctx.diag.poll_progress(0);
}

}  // namespace

void display_function_notes(ReportChannel& report, const Problem& problem) {
    for (int j = 0; j < problem.outputs(); ++j) {
        const int code = problem.out_code[j];
        const std::string& name = problem.ynames[j];
        switch (code) {
            case relation_const0:
            case relation_const1:
                report.text_blue(0);
                report.display_text(" Trivial Function:               " + name + " =" + STR(code), 1);
                break;
            case relation_undefined_inverted:
            case relation_undefined_normal: {
                const int polarity = j < static_cast<int>(problem.polarity.size()) ? problem.polarity[j] : 1;
                if (polarity < 0) break;
                report.text_red(1);
                report.display_text(" Setting undefined Function to:  " + name + " =" + STR(std::abs(1 - polarity)), 1);
                break;
            }
            case relation_identical:
                report.text_blue(0);
                report.display_text(" Identical functions:            " + name + " = " + problem.ynames[problem.out_related[j]], 1);
                break;
            case relation_inverse:
                report.text_blue(0);
                report.display_text(" Inverse functions:              " + name + " = /" + problem.ynames[problem.out_related[j]], 1);
                break;
            default: break;
        }
    }
}

void display_comparison_verdict(RunContext& ctx, bool failed) {
    ReportChannel& report = ctx.report;
    if (failed) {
        report.text_red(1);
        report.display_text(" *** Algorithmic Error : Comparison failed.", 1);
        ctx.error_flag = -1;
        return;
    }
    report.text_green(1);
    report.display_text(" *** Comparison with original expanded Inputs successful.", 1);
    report.display_blank();
}

void display_term_table(RunContext& ctx, Problem& problem, const TermTable& table, bool dash, TableMode mode) {
    display_table(ctx, problem, table, dash, mode);
}

void display_term_table(RunContext& ctx, Problem& problem, const ExpandedTable& table, bool dash, TableMode mode) {
    display_table(ctx, problem, table, dash, mode);
}

void display_term_table(RunContext& ctx, Problem& problem, const FinalOutput& table, bool dash, TableMode mode) {
    display_table(ctx, problem, table, dash, mode);
}

}  // namespace vormel
