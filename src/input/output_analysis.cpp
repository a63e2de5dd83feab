#include "input/output_analysis.h"

#include <vector>

#include "input/table_access.h"
#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

void ensure_out_relation(Problem& problem) {
    const auto outputs = static_cast<std::size_t>(problem.outputs());
    if (problem.out_related.size() < outputs) problem.out_related.resize(outputs, -1);
    if (problem.out_code.size() < outputs) problem.out_code.resize(outputs, relation_ordinary);
}

namespace {

int polarity_of(const Problem& problem, int output) {
    return output < static_cast<int>(problem.polarity.size()) ? problem.polarity[output] : 1;
}

template <typename Table>
void mark_constants(RunContext& ctx, Problem& problem, const Table& table) {
    ctx.current_sub = "find_constant_functions";
    ensure_out_relation(problem);
    const int nx = problem.inputs();
    const int ny = problem.outputs();
    std::vector<char> specified(static_cast<std::size_t>(ny), 0);
    for (int r = 0; r <= table.last; ++r) {
        ctx.diag.poll_progress(0);
        const std::uint8_t* y = table.y(r);
        bool no_literal = true;
        for (int i = 0; i < nx && no_literal; ++i) no_literal = x_value(table, r, i) == kDash;
        for (int j = 0; j < ny; ++j) {
            if (y[j] == kDash) continue;
            specified[j] = 1;
            if (no_literal) {
                problem.out_related[j] = j;
                problem.out_code[j] = y[j];
            }
        }
    }
    for (int j = 0; j < ny; ++j) {
        if (specified[j]) continue;
        problem.out_related[j] = j;
        problem.out_code[j] = polarity_of(problem, j) + 2;
    }
}

struct Likeness {
    bool identical = true;
    bool inverse = true;
};

// Compares the columns of outputs i and k row by row, stopping once neither relation can hold.
template <typename Table>
Likeness compare_columns(const Table& table, int i, int k) {
    Likeness like;
    for (int r = 0; r <= table.last; ++r) {
        const std::uint8_t* y = table.y(r);
        const std::uint8_t a = y[i];
        const std::uint8_t b = y[k];
        if (a == kDash && b == kDash) continue;
        if (a == b) {
            like.inverse = false;
            if (!like.identical) break;
        } else if (a == kDash || b == kDash) {
            like = {false, false};
            break;
        } else {
            like.identical = false;
            if (!like.inverse) break;
        }
    }
    return like;
}

template <typename Table>
void mark_equals(RunContext& ctx, Problem& problem, const Table& table) {
    ctx.current_sub = "find_equal_functions";
    ensure_out_relation(problem);
    for (int i = 1; i < problem.outputs(); ++i) {
        if (problem.out_code[i] != relation_ordinary) continue;
        for (int k = 0; k < i; ++k) {
            if (problem.out_code[k] > relation_const1) continue;
            ctx.diag.poll_progress(0);
            const Likeness like = compare_columns(table, i, k);
            if (like.identical) {
                problem.out_related[i] = k;
                problem.out_code[i] = relation_identical;
            } else if (like.inverse) {
                problem.out_related[i] = k;
                problem.out_code[i] = relation_inverse;
            }
        }
    }
}

}  // namespace

void find_constant_functions(RunContext& ctx, Problem& problem, const TermTable& table) {
    mark_constants(ctx, problem, table);
}
void find_constant_functions(RunContext& ctx, Problem& problem, const ExpandedTable& table) {
    mark_constants(ctx, problem, table);
}
void find_equal_functions(RunContext& ctx, Problem& problem, const TermTable& table) {
    mark_equals(ctx, problem, table);
}
void find_equal_functions(RunContext& ctx, Problem& problem, const ExpandedTable& table) {
    mark_equals(ctx, problem, table);
}

}  // namespace vormel
