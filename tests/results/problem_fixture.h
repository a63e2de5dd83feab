#pragma once
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/problem.h"
#include "report/run_context.h"
#include "report/text_work_area.h"

namespace vormel::testing {

// A run context on a text work area that never pauses.
struct Harness {
    TextWorkArea area;
    SilentRunWindow window;
    RunContext ctx{area, window};

    Harness() {
        ctx.options.page_by_page = 0;
        ctx.run_state = 9;
    }
    // The report lines, buffered text included.
    std::vector<std::string> lines() {
        ctx.report.flush_display(1);
        std::vector<std::string> out;
        std::istringstream in(area.text());
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }
    // Index of the first line equal to text, or -1.
    int find_line(std::string_view text) {
        const auto all = lines();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i] == text) return static_cast<int>(i);
        }
        return -1;
    }
    // Colour and boldness of the first occurrence of text in the report.
    TextWorkArea::Run format_of(std::string_view text) const { return area.format_at(area.text().find(text)); }
};

inline std::uint8_t code_of(char c) {
    switch (c) {
        case '0': return kZero;
        case '1': return kOne;
        default: return kDash;
    }
}

// A problem whose expanded table is all 0 (every output's 0-set), polarity 1 and ordinary outputs;
// its input table counts as many rows as the expanded one.
inline Problem make_problem(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs) {
    Problem p;
    p.xmax = static_cast<int>(inputs.size()) - 1;
    p.ymax = static_cast<int>(outputs.size()) - 1;
    p.xnames = inputs;
    p.ynames = outputs;
    p.extab.create(p.inputs(), p.outputs(), kZero);
    p.intab = TermTable(p.inputs(), p.outputs(), p.extab.rows());
    p.intab.last = p.extab.last;
    p.polarity.assign(outputs.size(), 1);
    p.out_related.assign(outputs.size(), -1);
    p.out_code.assign(outputs.size(), relation_ordinary);
    return p;
}

// Sets the expanded values of minterm r from a text such as "1-0".
inline void set_minterm(Problem& p, int r, std::string_view ys) {
    for (int j = 0; j < p.outputs(); ++j) p.extab.y(r)[j] = code_of(ys[j]);
}

// Appends a row "x text", "y text" (e.g. "1-0", "1.") to a term table.
inline void add_row(TermTable& table, std::string_view xs, std::string_view ys) {
    const int r = table.append_row();
    for (int i = 0; i < table.nx; ++i) table.x(r)[i] = code_of(xs[i]);
    for (int j = 0; j < table.ny; ++j) table.y(r)[j] = code_of(ys[j]);
}

}  // namespace vormel::testing

namespace vormel::testing {

// The five lines of a framed section heading.
inline std::vector<std::string> heading_lines(const std::string& title) {
    const std::string rule(title.size() + 1, '_');
    return {rule, "", title, rule, ""};
}

// Fills the expanded table from a function of the minterm number giving one value text per output,
// and counts its literals as the expansion does.
template <typename F>
void fill_expanded(Problem& p, F values) {
    for (int r = 0; r <= p.extab.last; ++r) set_minterm(p, r, values(r));
    const LiteralCounts counts = count_literals(p.extab);
    p.expanded_literals = counts.x_literals + counts.y_literals;
}

}  // namespace vormel::testing
