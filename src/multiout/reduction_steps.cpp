#include "multiout/reduction_steps.h"

#include <bit>

#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {
// Moves the last row into position r and drops the last row.
void remove_row(CubeTable& table, std::size_t r) {
    table.rows[r] = table.rows.back();
    table.rows.pop_back();
}
}  // namespace

void join_equal_terms(CubeTable& table, int& count) {
    count = 0;
    auto& rows = table.rows;
    // Both bounds follow the shrinking table; the row moved into k is compared with i only later.
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        for (std::size_t k = i + 1; k < rows.size(); ++k) {
            if (!rows[i].same_cube(rows[k])) continue;
            ++count;
            rows[i].outs |= rows[k].outs;
            remove_row(table, k);
        }
    }
}

void merge_adjacent_terms(CubeTable& table, int& count) {
    count = 0;
    auto& rows = table.rows;
    const std::size_t n = rows.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        for (std::size_t k = i + 1; k < n; ++k) {
            CubeRow& a = rows[i];
            CubeRow& b = rows[k];
            if (a.care != b.care) continue;
            const std::uint32_t diff = a.value ^ b.value;
            if (!std::has_single_bit(diff)) continue;
            const bool k_has_more = !b.outs.minus(a.outs).empty();  // A > 0
            const bool i_has_more = !a.outs.minus(b.outs).empty();  // B > 0
            if (!k_has_more && !i_has_more) {
                a.care &= ~diff;
                a.value &= ~diff;
                b.care &= ~diff;
                b.value &= ~diff;
            }
            if (k_has_more && i_has_more) continue;
            const OutputSet common = a.outs & b.outs;
            if (k_has_more) {
                // Row i's outputs are a subset of row k's: row i covers both cubes.
                a.care &= ~diff;
                a.value &= ~diff;
                b.outs = b.outs.minus(common);
            } else {
                // Also the equal case: row i is left without outputs and dropped later.
                b.care &= ~diff;
                b.value &= ~diff;
                a.outs = a.outs.minus(common);
            }
            count += common.count();
        }
    }
}

void drop_empty_terms(CubeTable& table, int& count) {
    count = 0;
    std::size_t i = 0;
    while (i < table.rows.size()) {
        if (table.rows[i].outs.empty()) {
            ++count;
            remove_row(table, i);
        } else {
            ++i;
        }
    }
}

void absorb_y(RunContext& ctx, CubeTable& table, int& count) {
    ctx.current_sub = "absorb_y";
    count = 0;
    auto& rows = table.rows;
    const std::size_t n = rows.size();
    ctx.diag.check_memory(0);
    // A record "row r gives up the outputs it shares with its container" only ever clears outputs,
    // so the records of one row fold into one mask of outputs to clear. Folded, the records need no
    // list of their own, and a table with many containments (lin_rom, prom1) is never refused.
    std::vector<OutputSet> cleared(n);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const CubeRow& a = rows[i];
        for (std::size_t k = i + 1; k < n; ++k) {
            const CubeRow& b = rows[k];
            if ((a.care & b.care & (a.value ^ b.value)) != 0) continue;  // disjoint
            const bool i_wider = (b.care & ~a.care) != 0;                 // A > 0
            const bool k_wider = (a.care & ~b.care) != 0;                 // B > 0
            if (i_wider == k_wider) continue;  // equal cubes or overlapping without containment
            if (!i_wider) cleared[i] |= a.outs & b.outs;  // row i inside row k
            else cleared[k] |= a.outs & b.outs;           // row k inside row i
        }
    }
    for (std::size_t r = 0; r < n; ++r) {
        const OutputSet gone = rows[r].outs & cleared[r];
        count += gone.count();
        rows[r].outs = rows[r].outs.minus(gone);
    }
}

}  // namespace vormel
