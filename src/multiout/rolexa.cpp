#include "multiout/rolexa.h"

#include <algorithm>
#include <bit>

#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

std::size_t at(int row) { return static_cast<std::size_t>(row); }

// Opens a search level for the cube: lists the rows the level may use (equal to the cube, or the
// cube doubled across one input) in the order a shuffled walk of the whole table would meet them.
// The walk's random draws are always taken; the walk itself only matters for two or more rows.
void enter_level(const CubeTable& table, RolexState& s, RandomGenerator& rng, std::uint32_t care, std::uint32_t value,
                 int parent) {
    const std::size_t first = s.candidates.size();
    // A row's mark cannot change while this level is open (a failed deeper level frees what it took),
    // so the rows that are skipped can be left out now.
    for (int r = s.index.first_row(care, value); r >= 0; r = s.index.next_row(r)) {
        const int mark = s.memo_first[at(r)];
        if (mark != kMemoEliminated && mark != kMemoOnChain) s.candidates.push_back({r, 0});
    }
    for (std::uint32_t bits = care; bits != 0; bits &= bits - 1) {
        const std::uint32_t b = bits & (~bits + 1);
        for (int r = s.index.first_row(care & ~b, value & ~b); r >= 0; r = s.index.next_row(r)) {
            const int mark = s.memo_first[at(r)];
            if (mark != kMemoEliminated && mark != kMemoOnChain) s.candidates.push_back({r, b});
        }
    }
    const int m = table.last();
    const std::size_t end = s.candidates.size();
    if (end - first < 2) {
        rng.skip(static_cast<std::uint32_t>(m) + 1);
    } else {
        shuffle_indices(rng, m, s.order);
        for (std::size_t c = first; c < end; ++c) s.slot[at(s.candidates[c].row)] = static_cast<int>(c - first);
        const std::vector<RolexState::Candidate> listed(s.candidates.begin() + static_cast<std::ptrdiff_t>(first),
                                                        s.candidates.end());
        std::size_t out = first;
        for (int r : s.order) {
            const int slot = s.slot[at(r)];
            if (slot < 0) continue;
            s.candidates[out++] = listed[at(slot)];
            s.slot[at(r)] = -1;
            if (out == end) break;
        }
    }
    s.frames.push_back({care, value, parent, first, first, end, -1});
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
}

void RolexState::free_marks() {
    for (int r : touched) {
        memo_first[at(r)] = kMemoFree;
        memo_second[at(r)] = kMemoFree;
    }
    touched.clear();
}

bool rolex_rec(RunContext& ctx, const CubeTable& table, RolexState& s, RandomGenerator& rng, std::uint32_t care,
               std::uint32_t value, int parent) {
    ctx.current_sub = "rolex_rec";
    s.frames.clear();
    s.candidates.clear();
    enter_level(table, s, rng, care, value, parent);
    while (!s.frames.empty()) {
        RolexState::Frame& f = s.frames.back();
        if (f.split_row >= 0) {
            // The deeper level found nothing: undo the split and go on with the next row.
            s.rolex_stack.pop_back();
            s.memo_first[at(f.split_row)] = kMemoFree;
            f.split_row = -1;
        }
        if (f.next == f.end) {
            s.candidates.resize(f.first);
            s.frames.pop_back();
            continue;
        }
        const RolexState::Candidate c = s.candidates[f.next++];
        const std::size_t r = at(c.row);
        if (c.flip == 0) {
            if (s.memo_first[r] >= 0 && s.memo_second[r] >= 0) {
                ctx.report.print_direct(
                    " *** System Warning 5: in SUB rolex_rec3: memo already occupied twice. => search line not found", 1);
                ctx.report.ask_reset();
                if (ctx.failed()) return false;
                // Not found on this level; the level above goes on.
                s.candidates.resize(f.first);
                s.frames.pop_back();
                continue;
            }
            if (s.memo_first[r] < 0) s.memo_first[r] = f.parent;
            else s.memo_second[r] = f.parent;
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
        s.rolex_stack.push_back({f.care, f.value, table.rows[r].outs, f.parent});
        s.memo_first[r] = kMemoOnChain;
        s.touched.push_back(c.row);
        f.split_row = c.row;
        const std::uint32_t next_care = f.care;
        const std::uint32_t next_value = f.value ^ c.flip;
        enter_level(table, s, rng, next_care, next_value, c.row);
    }
    return false;
}

void apply_rolex(CubeTable& table, RolexState& s) {
    auto& rows = table.rows;
    std::sort(s.touched.begin(), s.touched.end());
    s.touched.erase(std::unique(s.touched.begin(), s.touched.end()), s.touched.end());
    // Rows that absorbed a cube take over the outputs of the row that handed it on. Those rows are
    // the term and split rows, which this loop never changes.
    for (int r : s.touched) {
        if (s.memo_first[at(r)] >= 0) rows[at(r)].outs |= rows[at(s.memo_first[at(r)])].outs;
        if (s.memo_second[at(r)] >= 0) rows[at(r)].outs |= rows[at(s.memo_second[at(r)])].outs;
    }
    for (RolexStackEntry& e : s.rolex_stack) {
        if (e.parent >= 0) e.outs |= rows[at(e.parent)].outs;
    }
    // Remove the term and the split rows from the top down, each replaced by the last row that stays.
    for (auto it = s.touched.rbegin(); it != s.touched.rend(); ++it) {
        const int mark = s.memo_first[at(*it)];
        if (mark != kMemoEliminated && mark != kMemoOnChain) continue;
        rows[at(*it)] = rows.back();
        rows.pop_back();
    }
    for (const RolexStackEntry& e : s.rolex_stack) rows.push_back({e.care, e.value, e.outs});
    s.rolex_stack.clear();
    s.prepare(table);
}

void expand_x2(RunContext& ctx, CubeTable& table, RolexState& s, RandomGenerator& rng, int& count) {
    ctx.current_sub = "expand_x2";
    count = 0;
    if (table.last() > s.ltemp) {
        ctx.report.flush_display(0);
        ctx.report.display_blank();
        ctx.report.display_blank();
        ctx.diag.show_error(" *** System Error 4: In sub expand_x2: ltemp >" + STR(s.ltemp), 0);
        ctx.error_flag = -1;
        return;
    }
    const int xmax = table.nx - 1;
    s.prepare(table);
    bool changed = true;
    while (changed) {
        ctx.diag.poll_progress(0);
        changed = false;
        shuffle_indices(rng, table.last(), s.row_order);
        for (int t : s.row_order) {
            const CubeRow term = table.rows[at(t)];
            if (term.care == 0) break;  // an all-"-" row ends the pass
            shuffle_indices(rng, xmax, s.input_order);
            for (int k : s.input_order) {
                const std::uint32_t bit = 1u << k;
                if ((term.care & bit) != 0) continue;
                s.free_marks();
                s.memo_first[at(t)] = kMemoEliminated;
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
