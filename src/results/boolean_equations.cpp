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

std::vector<Equation> equations_of(const Problem& problem, const TermTable& terms) {
    std::vector<std::string> names(static_cast<std::size_t>(terms.rows()));
    if (problem.outputs() >= 2) names = name_shared_terms(problem, terms);
    std::vector<Equation> equations;
    for (int r = 0; r <= terms.last; ++r) {
        if (!names[r].empty()) equations.push_back({names[r], false, true, {literal_text(problem, terms, r)}});
    }
    for (int j = 0; j < problem.outputs(); ++j) {
        const int code = problem.out_code[j];
        Equation equation{problem.ynames[j], false, false, {}};
        switch (code) {
            case relation_ordinary: break;
            case relation_const0:
            case relation_undefined_normal: equation.right = {" 0"}; break;
            case relation_const1:
            case relation_undefined_inverted: equation.right = {" 1"}; break;
            case relation_identical: equation.right = {" " + problem.ynames[problem.out_related[j]]}; break;
            default: equation.right = {" /" + problem.ynames[problem.out_related[j]]}; break;
        }
        if (code == relation_ordinary) {
            equation.inverted = j < static_cast<int>(problem.polarity.size()) && problem.polarity[j] == 0;
            for (int r = 0; r <= terms.last; ++r) {
                if (terms.y(r)[j] == kDash) continue;
                equation.right.push_back(names[r].empty() ? literal_text(problem, terms, r) : " " + names[r]);
            }
        }
        equations.push_back(std::move(equation));
    }
    return equations;
}

void boolean_equations(RunContext& ctx, const Problem& problem, const TermTable& terms) {
    ctx.current_sub = "boolean_equations";
    ReportChannel& report = ctx.report;
    const std::vector<Equation> equations = equations_of(problem, terms);

    const std::string title = " *** Final Results (3):  Boolean Equations";
    report.display_heading(title);
    ctx.window.set_status_line(title);

    std::size_t width = 0;
    for (const Equation& equation : equations) width = std::max(width, text_width(equation.name));
    ++width;
    auto name_field = [width](const std::string& name) {
        const std::size_t used = text_width(name);
        return " " + std::string(width > used ? width - used : 0, ' ') + name;
    };
    const std::string continuation(width + 1, ' ');

    bool any_shared = false, outputs_begun = false;
    for (const Equation& equation : equations) {
        if (!equation.shared_term) ctx.diag.poll_progress(0);
        if (!equation.shared_term && !outputs_begun) {
            outputs_begun = true;
            if (any_shared) report.display_blank();
        }
        any_shared = any_shared || equation.shared_term;
        for (std::size_t part = 0; part < equation.right.size(); ++part) {
            report.display_text((part == 0 ? name_field(equation.left()) + " = " : continuation + " + ") + equation.right[part], 1);
            if (report.interrupted()) break;
        }
        report.display_blank();
    }
    report.text_navy(1);
    report.display_text(" *** Boolean Equations done", 1);
    report.display_blank();
}

}  // namespace vormel
