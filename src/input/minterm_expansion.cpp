#include "input/minterm_expansion.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

namespace {

constexpr char kValueText[] = {'0', '1', '-', '?'};

std::string entry_text(const std::uint8_t* values, int count) {
    std::string text;
    text.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) text += kValueText[std::min<int>(values[i], 3)];
    return text;
}

void report_conflict(RunContext& ctx, const Problem& problem, int k, std::uint32_t m) {
    const TermTable& in = problem.intab;
    const ExpandedTable& ex = problem.extab;
    std::string minterm;
    for (int i = 0; i < ex.nx; ++i) minterm += kValueText[ex.x(static_cast<int>(m), i)];
    ctx.diag.show_error("Entry line:             " + entry_text(in.x(k), in.nx) + " " + entry_text(in.y(k), in.ny), 9);
    ctx.diag.show_error("     in conflict with expanded line:  " + minterm + " " +
                            entry_text(ex.y(static_cast<int>(m)), ex.ny),
                        0);
}

}  // namespace

bool assign_minterm(RunContext& ctx, Problem& problem, ExpansionState& state, int k, std::uint32_t m) {
    const std::uint8_t* input = problem.intab.y(k);
    std::uint8_t* expanded = problem.extab.y(static_cast<int>(m));
    const int ny = problem.extab.ny;
    std::uint64_t& word = state.reached[m >> 6];
    const std::uint64_t bit = std::uint64_t{1} << (m & 63);
    if ((word & bit) == 0) {
        word |= bit;
        std::copy_n(input, ny, expanded);
        return true;
    }
    for (int j = 0; j < ny; ++j) {
        const std::uint8_t v = input[j];
        std::uint8_t& e = expanded[j];
        if (v == kDash || v == e) continue;
        if (e == kDash) {
            e = v;  // a specified value overrides a don't care
        } else if (state.boolean_input) {
            if (v == kOne) e = kOne;
        } else if (state.ones_win) {
            e = kOne;
        } else {
            report_conflict(ctx, problem, k, m);
            return false;
        }
    }
    return true;
}

bool expand_cube(RunContext& ctx, Problem& problem, ExpansionState& state, int k) {
    const TermTable& in = problem.intab;
    std::uint32_t dont_care = 0;
    std::uint32_t value = 0;
    const std::uint8_t* x = in.x(k);
    for (int i = 0; i < in.nx; ++i) {
        dont_care = dont_care << 1 | (x[i] == kDash);
        value = value << 1 | (x[i] == kOne);
    }
    // Subsets of the don't-care bits in ascending order: input 0 is the most significant bit.
    std::uint32_t part = 0;
    std::uint32_t visited = 0;
    do {
        if (!assign_minterm(ctx, problem, state, k, value | part)) return false;
        if ((++visited & 0xFFFF) == 0) ctx.diag.poll_progress(0);
        part = (part - dont_care) & dont_care;
    } while (part != 0);
    return true;
}

void expand_table(RunContext& ctx, Problem& problem) {
    ExpandedTable& ex = problem.extab;
    ExpansionState state;
    state.reached.assign((static_cast<std::size_t>(ex.rows()) + 63) / 64, 0);
    state.boolean_input = problem.input_type == "BOOLEAN";
    state.ones_win = !state.boolean_input && problem.input_ext == "pla" && problem.pla_type == "FD";
    // A row equal to an earlier one (X and Y) changes nothing and cannot conflict: once a row is
    // applied, each of its specified values stays in place or was turned into a winning 1.
    std::unordered_set<std::string> applied;
    const TermTable& in = problem.intab;
    for (int k = 0; k <= in.last; ++k) {
        if (k % 5 == 0) ctx.diag.poll_progress(0);
        const int dont_cares = static_cast<int>(std::count(in.x(k), in.x(k) + in.nx, kDash));
        if (dont_cares >= 6) {
            std::string row(reinterpret_cast<const char*>(in.x(k)), static_cast<std::size_t>(in.nx));
            row.append(reinterpret_cast<const char*>(in.y(k)), static_cast<std::size_t>(in.ny));
            if (!applied.insert(std::move(row)).second) continue;
        }
        if (!expand_cube(ctx, problem, state, k)) return;
    }
    for (int m = 0; m < ex.rows(); ++m) {
        if ((state.reached[static_cast<std::size_t>(m) >> 6] >> (m & 63) & 1) == 0) {
            std::copy_n(problem.rest_values.begin(), ex.ny, ex.y(m));
        }
    }
}

}  // namespace vormel
