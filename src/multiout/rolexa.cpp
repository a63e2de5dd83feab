#include "multiout/rolexa.h"

#include <algorithm>

#include "multiout/chain_routes.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

// The rows a level may use (equal to the cube, or the cube doubled across one input), in the order
// the level's shuffled walk of the whole table meets them. The walk's draws are always taken; the
// walk itself only matters for two or more rows.
void order_candidates(const CubeTable& table, RolexState& s, RandomGenerator& rng, std::uint32_t care,
                      std::uint32_t value) {
    s.candidates.clear();
    for (int r = s.index.first_row(care, value); r >= 0; r = s.index.next_row(r)) {
        if (may_split(s, r)) s.candidates.push_back({r, 0});
    }
    for (std::uint32_t bits = care; bits != 0; bits &= bits - 1) {
        const std::uint32_t b = bits & (~bits + 1);
        for (int r = s.index.first_row(care & ~b, value & ~b); r >= 0; r = s.index.next_row(r)) {
            if (may_split(s, r)) s.candidates.push_back({r, b});
        }
    }
    const int m = table.last();
    if (s.candidates.size() < 2) {
        rng.skip(static_cast<std::uint32_t>(m) + 1);
        return;
    }
    shuffle_indices(rng, m, s.order);
    for (std::size_t c = 0; c < s.candidates.size(); ++c) s.slot[row_at(s.candidates[c].row)] = static_cast<int>(c);
    const std::vector<RolexState::Candidate> listed = s.candidates;
    std::size_t out = 0;
    for (int r : s.order) {
        const int slot = s.slot[row_at(r)];
        if (slot < 0) continue;
        s.candidates[out++] = listed[row_at(slot)];
        s.slot[row_at(r)] = -1;
        if (out == listed.size()) break;
    }
}

// A level that cannot end: take the draws of every level it would enter.
void skip_failing_search(RunContext& ctx, const CubeTable& table, RolexState& s, RandomGenerator& rng,
                         std::uint32_t care, std::uint32_t value) {
    const std::uint64_t levels = failing_levels(ctx, s, care, value);
    const std::uint64_t draws = levels * (static_cast<std::uint64_t>(table.last()) + 1);
    rng.skip(static_cast<std::uint32_t>(draws));  // the state has period 2^32
}

}  // namespace

void RolexState::prepare(const CubeTable& table) {
    const std::size_t n = table.rows.size();
    memo_first.assign(n, kMemoFree);
    memo_second.assign(n, kMemoFree);
    slot.assign(n, -1);
    touched.clear();
    rolex_stack.clear();
    index.build(table);
    seen.resize(n);
    label.resize(n);
    link_of_row.assign(n, -1);
}

void RolexState::free_marks() {
    for (int r : touched) {
        memo_first[row_at(r)] = kMemoFree;
        memo_second[row_at(r)] = kMemoFree;
    }
    touched.clear();
}

bool rolex_rec(RunContext& ctx, const CubeTable& table, RolexState& s, RandomGenerator& rng, std::uint32_t care,
               std::uint32_t value, int parent) {
    ctx.current_sub = "rolex_rec";
    // Routes that cannot end are only counted; the chain that ends is walked level by level in the
    // shuffled order, and every row split on it leads on to an end, so the walk never backs up.
    // Distances to the nearest end say at once that a step towards it can end: rows split on the
    // way lie further out, so they are on no shortest route from there.
    int distance = label_component(s, care, value);
    if (distance < 0) {
        skip_failing_search(ctx, table, s, rng, care, value);
        return false;
    }
    for (;;) {
        order_candidates(table, s, rng, care, value);
        bool descended = false;
        for (const RolexState::Candidate& c : s.candidates) {
            const std::size_t r = row_at(c.row);
            if (c.flip == 0) {
                if (s.memo_first[r] >= 0 && s.memo_second[r] >= 0) {
                    ctx.report.print_direct(
                        " *** System Warning 5: in SUB rolex_rec3: memo already occupied twice. => search line not found",
                        1);
                    ctx.report.ask_reset();
                    return false;
                }
                if (s.memo_first[r] < 0) s.memo_first[r] = parent;
                else s.memo_second[r] = parent;
                s.touched.push_back(c.row);
                return true;
            }
            if (static_cast<long long>(s.rolex_stack.size()) > s.lrolex) {
                ctx.report.flush_display(0);
                ctx.report.display_blank();
                ctx.diag.show_error(" *** System Error 5: In rolex_rec: lrolex >" + STR(s.lrolex), 0);
                ctx.error_flag = -1;
                return false;
            }
            s.rolex_stack.push_back({care, value, table.rows[r].outs, parent});
            s.memo_first[r] = kMemoOnChain;
            const std::uint32_t next = value ^ c.flip;
            const bool closer = distance > 0 && s.label.find(next) == distance - 1;
            if (closer || chain_can_end(s, care, next)) {
                s.touched.push_back(c.row);
                parent = c.row;
                value = next;
                distance = closer ? distance - 1 : label_component(s, care, value);
                descended = true;
                break;
            }
            skip_failing_search(ctx, table, s, rng, care, next);
            if (ctx.failed()) return false;
            s.rolex_stack.pop_back();
            s.memo_first[r] = kMemoFree;
        }
        if (!descended) return false;  // cannot happen: a level that can end has a row that ends it
    }
}

void apply_rolex(CubeTable& table, RolexState& s) {
    auto& rows = table.rows;
    std::sort(s.touched.begin(), s.touched.end());
    s.touched.erase(std::unique(s.touched.begin(), s.touched.end()), s.touched.end());
    // Rows that absorbed a cube take over the outputs of the row that handed it on. Those rows are
    // the term and split rows, which this loop never changes.
    for (int r : s.touched) {
        if (s.memo_first[row_at(r)] >= 0) rows[row_at(r)].outs |= rows[row_at(s.memo_first[row_at(r)])].outs;
        if (s.memo_second[row_at(r)] >= 0) rows[row_at(r)].outs |= rows[row_at(s.memo_second[row_at(r)])].outs;
    }
    for (RolexStackEntry& e : s.rolex_stack) {
        if (e.parent >= 0) e.outs |= rows[row_at(e.parent)].outs;
    }
    // Remove the term and the split rows from the top down, each replaced by the last row that stays.
    for (auto it = s.touched.rbegin(); it != s.touched.rend(); ++it) {
        const int mark = s.memo_first[row_at(*it)];
        if (mark != kMemoEliminated && mark != kMemoOnChain) continue;
        rows[row_at(*it)] = rows.back();
        rows.pop_back();
    }
    for (const RolexStackEntry& e : s.rolex_stack) rows.push_back({e.care, e.value, e.outs});
    s.rolex_stack.clear();
    s.prepare(table);
}

void expand_x2(RunContext& ctx, CubeTable& table, RolexState& s, RandomGenerator& rng, int& count) {
    ctx.current_sub = "expand_x2";
    count = 0;
    // The table is a vector that grows as it must: merged covers above six times the expanded rows
    // (a full 5-input, 100-output table gives 190 rows against 186) are optimized, not refused.
    const int xmax = table.nx - 1;
    s.prepare(table);
    bool changed = true;
    while (changed) {
        ctx.diag.poll_progress(0);
        changed = false;
        shuffle_indices(rng, table.last(), s.row_order);
        for (int t : s.row_order) {
            const CubeRow term = table.rows[row_at(t)];
            if (term.care == 0) break;  // an all-"-" row ends the pass
            shuffle_indices(rng, xmax, s.input_order);
            for (int k : s.input_order) {
                const std::uint32_t bit = 1u << k;
                if ((term.care & bit) != 0) continue;
                s.free_marks();
                s.memo_first[row_at(t)] = kMemoEliminated;
                s.touched.push_back(t);
                s.rolex_stack.clear();
                if (!rolex_rec(ctx, table, s, rng, term.care | bit, term.value, t)) {
                    if (ctx.failed()) return;
                    continue;
                }
                if (!rolex_rec(ctx, table, s, rng, term.care | bit, term.value | bit, t)) {
                    if (ctx.failed()) return;
                    continue;
                }
                ctx.diag.poll_progress(0);
                apply_rolex(table, s);
                ++count;
                changed = true;
                break;
            }
            if (changed) break;
        }
    }
}

}  // namespace vormel
