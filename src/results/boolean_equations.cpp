#include "results/boolean_equations.h"

#include <algorithm>

#include "model/problem.h"
#include "report/run_context.h"
#include "report/text_width.h"

namespace vormel {

namespace {

int literal_count(const TermTable& terms, int row) {
    const std::uint8_t* x = terms.x(row);
    return static_cast<int>(std::count_if(x, x + terms.nx, [](std::uint8_t v) { return v != kDash; }));
}

// "/a" for a complemented input, " a" otherwise, joined by " * ".
std::string literal_text(const Problem& problem, const TermTable& terms, int row) {
    std::string text;
    const std::uint8_t* x = terms.x(row);
    for (int i = 0; i < terms.nx; ++i) {
        if (x[i] == kDash) continue;
        if (!text.empty()) text += " * ";
        text += x[i] == kZero ? '/' : ' ';
        text += problem.xnames[i];
    }
    return text;
}

}  // namespace

std::vector<std::string> name_shared_terms(const Problem& problem, const TermTable& terms) {
    std::vector<std::string> names(static_cast<std::size_t>(terms.rows()));
    int k = -1;
    for (int r = 0; r <= terms.last; ++r) {
        const std::uint8_t* y = terms.y(r);
        int ordinary_fed = 0;
        for (int j = 0; j < terms.ny; ++j) ordinary_fed += y[j] != kDash && problem.out_code[j] == relation_ordinary;
        if (ordinary_fed >= 2 && literal_count(terms, r) >= 2) names[r] = "PT_" + std::to_string(++k);
    }
    return names;
}

void boolean_equations(RunContext& ctx, const Problem& problem, const TermTable& terms) {
    ctx.current_sub = "boolean_equations";
    ReportChannel& report = ctx.report;
    std::vector<std::string> names(static_cast<std::size_t>(terms.rows()));
    if (problem.outputs() >= 2) names = name_shared_terms(problem, terms);

    const std::string title = " *** Final Results (3):  Boolean Equations";
    report.display_heading(title);
    ctx.window.set_status_line(title);

    std::size_t width = 0;
    for (int j = 0; j < problem.outputs(); ++j) width = std::max(width, text_width(problem.ynames[j]));
    for (const std::string& name : names) width = std::max(width, text_width(name));
    ++width;
    auto name_field = [width](const std::string& name) {
        const std::size_t used = text_width(name);
        return " " + std::string(width > used ? width - used : 0, ' ') + name;
    };
    const std::string continuation(width + 1, ' ');

    bool any_shared = false;
    for (int r = 0; r <= terms.last; ++r) {
        if (names[r].empty()) continue;
        any_shared = true;
        report.display_text(name_field(names[r]) + " = " + literal_text(problem, terms, r), 1);
        report.display_blank();
    }
    if (any_shared) report.display_blank();

    for (int j = 0; j < problem.outputs(); ++j) {
        ctx.diag.poll_progress(0);
        const int code = problem.out_code[j];
        if (code != relation_ordinary) {
            std::string value;
            switch (code) {
                case relation_const0:
                case relation_undefined_normal: value = " =  0"; break;
                case relation_const1:
                case relation_undefined_inverted: value = " =  1"; break;
                case relation_identical: value = " =  " + problem.ynames[problem.out_related[j]]; break;
                default: value = " =  /" + problem.ynames[problem.out_related[j]]; break;
            }
            report.display_text(name_field(problem.ynames[j]) + value, 1);
            report.display_blank();
            continue;
        }
        const bool inverted = j < static_cast<int>(problem.polarity.size()) && problem.polarity[j] == 0;
        const std::string label = (inverted ? "/" : "") + problem.ynames[j];
        bool first = true;
        for (int r = 0; r <= terms.last; ++r) {
            if (terms.y(r)[j] == kDash) continue;
            std::string line = first ? name_field(label) + " = " : continuation + " + ";
            line += names[r].empty() ? literal_text(problem, terms, r) : " " + names[r];
            report.display_text(line, 1);
            first = false;
            if (report.interrupted()) break;
        }
        report.display_blank();
    }
    report.text_navy(1);
    report.display_text(" *** Boolean Equations done", 1);
    report.display_blank();
}

}  // namespace vormel
