#include "input/minterm_expansion.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <string>
#include <unordered_set>

#include <tbb/blocked_range.h>

#include "model/problem.h"
#include "report/run_context.h"
#include "report/run_threads.h"

namespace vormel {

namespace {

constexpr char kValueText[] = {'0', '1', '-', '?'};

struct Cube {
    std::uint32_t dont_care = 0;
    std::uint32_t value = 0;
};

Cube cube_of(const TermTable& table, int k) {
    Cube cube;
    const std::uint8_t* x = table.x(k);
    for (int i = 0; i < table.nx; ++i) {
        cube.dont_care = cube.dont_care << 1 | (x[i] == kDash);
        cube.value = cube.value << 1 | (x[i] == kOne);
    }
    return cube;
}

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

using Lanes = std::int8_t __attribute__((vector_size(16)));
constexpr int kLanes = 16;

bool any(Lanes lanes) {
    std::uint64_t words[2];
    std::memcpy(words, &lanes, sizeof words);
    return (words[0] | words[1]) != 0;
}

// Applies one input Y entry to a minterm's Y entry; false at a 0/1 conflict that neither rule
// settles (the outputs before the conflicting one are already updated then).
bool merge_entry(const ExpansionState& state, const std::uint8_t* input, std::uint8_t* expanded, int ny) {
    // Sixteen outputs at a time while the entry only meets equal values and don't cares; the first
    // block with a 0/1 difference goes on one output at a time, as does a short tail. A block taken
    // again (the last one overlaps) changes nothing the second time.
    int j = 0;  // the outputs before j are merged
    while (j < ny && ny >= kLanes) {
        const int at = std::min(j, ny - kLanes);
        Lanes v;
        Lanes e;
        std::memcpy(&v, input + at, kLanes);
        std::memcpy(&e, expanded + at, kLanes);
        const Lanes acts = (v != kDash) & (v != e);
        const Lanes fills = acts & (e == kDash);
        if (any(fills != acts)) {
            j = at;
            break;
        }
        if (any(acts)) {
            e = (e & ~fills) | (v & fills);
            std::memcpy(expanded + at, &e, kLanes);
        }
        j = at + kLanes;
    }
    for (; j < ny; ++j) {
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
            return false;
        }
    }
    return true;
}

// Assigns without reporting; false at a conflict.
bool assign_quietly(Problem& problem, ExpansionState& state, const std::uint8_t* input, std::uint32_t m) {
    std::uint8_t* expanded = problem.extab.y(static_cast<int>(m));
    std::uint64_t& word = state.reached[m >> 6];
    const std::uint64_t bit = std::uint64_t{1} << (m & 63);
    if ((word & bit) == 0) {
        word |= bit;
        std::copy_n(input, problem.extab.ny, expanded);
        return true;
    }
    return merge_entry(state, input, expanded, problem.extab.ny);
}

// The rows that can change the table: a row equal to an earlier one (X and Y) changes nothing and
// cannot conflict, since once a row is applied each of its specified values stays in place or was
// turned into a winning 1.
std::vector<int> rows_to_apply(const TermTable& in) {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(in.rows()));
    std::unordered_set<std::string> applied;
    for (int k = 0; k <= in.last; ++k) {
        const auto dont_cares = std::count(in.x(k), in.x(k) + in.nx, kDash);
        if (dont_cares >= 6) {
            std::string row(reinterpret_cast<const char*>(in.x(k)), static_cast<std::size_t>(in.nx));
            row.append(reinterpret_cast<const char*>(in.y(k)), static_cast<std::size_t>(in.ny));
            if (!applied.insert(std::move(row)).second) continue;
        }
        rows.push_back(k);
    }
    return rows;
}

// The rows in their order, one block of minterms at a time so that the block stays in cache. Every
// minterm sees the rows in the same order as in the row-by-row pass, so the table comes out equal;
// only the first conflict found may differ. Blocks hold whole words of `reached` and share nothing,
// so they are filled on all threads. False at a conflict (nothing reported).
bool expand_by_blocks(RunContext& ctx, Problem& problem, ExpansionState& state, const std::vector<int>& rows,
                      const std::vector<Cube>& cubes, int block_bits) {
    const std::uint32_t low = (std::uint32_t{1} << block_bits) - 1;
    const auto total = static_cast<std::uint32_t>(problem.extab.rows());
    const std::uint32_t blocks = (total + low) >> block_bits;
    const std::uint32_t group = 8 * static_cast<std::uint32_t>(std::max(1, threads::available()));
    std::atomic<bool> conflict{false};
    for (std::uint32_t first = 0; first < blocks && !conflict; first += group) {
        ctx.diag.poll_progress(0);
        threads::for_each_index(first, std::min(blocks, first + group), [&](std::uint32_t block) {
            const std::uint32_t base = block << block_bits;
            for (std::size_t i = 0; i < rows.size() && !conflict; ++i) {
                const Cube& cube = cubes[i];
                if (((base ^ cube.value) & ~cube.dont_care & ~low) != 0) continue;
                const std::uint8_t* input = problem.intab.y(rows[i]);
                const std::uint32_t dont_care = cube.dont_care & low;
                const std::uint32_t start = base | (cube.value & low);
                std::uint32_t part = 0;
                do {
                    if (!assign_quietly(problem, state, input, start | part)) {
                        conflict = true;
                        return;
                    }
                    part = (part - dont_care) & dont_care;
                } while (part != 0);
            }
        });
    }
    return !conflict;
}

}  // namespace

bool assign_minterm(RunContext& ctx, Problem& problem, ExpansionState& state, int k, std::uint32_t m) {
    if (assign_quietly(problem, state, problem.intab.y(k), m)) return true;
    report_conflict(ctx, problem, k, m);
    return false;
}

bool expand_cube(RunContext& ctx, Problem& problem, ExpansionState& state, int k) {
    const Cube cube = cube_of(problem.intab, k);
    // Subsets of the don't-care bits in ascending order: input 0 is the most significant bit.
    std::uint32_t part = 0;
    std::uint32_t visited = 0;
    do {
        if (!assign_minterm(ctx, problem, state, k, cube.value | part)) return false;
        if ((++visited & 0xFFFF) == 0) ctx.diag.poll_progress(0);
        part = (part - cube.dont_care) & cube.dont_care;
    } while (part != 0);
    return true;
}

void expand_table(RunContext& ctx, Problem& problem) {
    ExpandedTable& ex = problem.extab;
    const TermTable& in = problem.intab;
    ExpansionState state;
    state.reached.assign((static_cast<std::size_t>(ex.rows()) + 63) / 64, 0);
    state.boolean_input = problem.input_type == "BOOLEAN";
    state.ones_win = !state.boolean_input && problem.input_ext == "pla" && problem.pla_type == "FD";
    const std::vector<int> rows = rows_to_apply(in);

    // Blocks of about 256 KiB pay off when the rows cover many more minterms than there are
    // (row, block) pairs to test.
    const int block_bits = std::max(6, static_cast<int>(std::bit_width(static_cast<unsigned>(262144 / std::max(ex.ny, 1)))) - 1);
    const int blocks = ex.nx > block_bits ? 1 << (ex.nx - block_bits) : 1;
    std::vector<Cube> cubes;
    cubes.reserve(rows.size());
    std::uint64_t covered = 0;
    for (int k : rows) {
        cubes.push_back(cube_of(in, k));
        covered += std::uint64_t{1} << std::popcount(cubes.back().dont_care);
    }
    bool done = false;
    if (blocks > 1 && static_cast<std::uint64_t>(rows.size()) * blocks * 4 < covered) {
        done = expand_by_blocks(ctx, problem, state, rows, cubes, block_bits);
        // A conflict is reported as the row-by-row order meets it first: start again that way.
        if (!done) std::fill(state.reached.begin(), state.reached.end(), 0);
    }
    if (!done) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i % 5 == 0) ctx.diag.poll_progress(0);
            if (!expand_cube(ctx, problem, state, rows[i])) return;
        }
    }
    threads::for_each_range(tbb::blocked_range<int>(0, ex.rows(), 1 << 14), [&](const tbb::blocked_range<int>& range) {
        for (int m = range.begin(); m < range.end(); ++m) {
            if ((state.reached[static_cast<std::size_t>(m) >> 6] >> (m & 63) & 1) == 0) {
                std::copy_n(problem.rest_values.begin(), ex.ny, ex.y(m));
            }
        }
    });
}

}  // namespace vormel
