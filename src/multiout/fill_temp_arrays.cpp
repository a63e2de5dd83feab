#include "multiout/polarity_work.h"

#include <algorithm>

#include "model/problem.h"
#include "primes/prime_store.h"
#include "primes/temp_dim.h"
#include "report/run_context.h"

namespace vormel {

namespace {

// Makes room for row r of tempa and tempb. Past the capacity the user sees, growth goes through
// check_temp_DIM (and its level-4 warnings); below it, memory grows by doubling as rows arrive.
void make_temp_row(RunContext& ctx, const Problem& problem, PolarityWork& work, int r) {
    if (r > work.temp_capacity_last) {
        work.tempa.reserve_rows(work.temp_capacity_last + 1);
        work.tempb.reserve_rows(work.temp_capacity_last + 1);
        check_temp_DIM(ctx, problem, work.tempa, r, "tempa() in fill_temp_arrays");
        check_temp_DIM(ctx, problem, work.tempb, r, "tempb() in fill_temp_arrays");
        work.temp_capacity_last = work.tempa.capacity() - 1;
    } else if (r >= work.tempa.capacity()) {
        const int rows = std::min(std::max(16, 2 * work.tempa.capacity()), work.temp_capacity_last + 1);
        work.tempa.reserve_rows(rows);
        work.tempb.reserve_rows(rows);
    }
}

}  // namespace

void PolarityWork::reset(const Problem& problem, const PrimeStore& store) {
    tempa = TermTable(problem.inputs(), 0);
    tempb = TermTable(0, problem.outputs());
    temp_capacity_last = std::max(store.maxlpnum, 0);
    table = CubeTable{problem.inputs(), problem.outputs(), {}};
    best_polarity.assign(static_cast<std::size_t>(problem.outputs()), 1);
    best_polarity[0] = -3;
    best_pterms = 99999999;
    best_literals = 99999999;
    bundle_best = BundleSearchBest{};
}

void merge_equal_terms(CubeTable& table, int& merged) {
    merged = 0;
    auto& rows = table.rows;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        std::size_t k = i + 1;
        while (k < rows.size()) {
            if (rows[i].same_cube(rows[k])) {
                rows[i].outs |= rows[k].outs;
                rows[k] = rows.back();
                rows.pop_back();
                ++merged;  // the row now at k is compared again
            } else {
                ++k;
            }
        }
    }
}

void fill_temp_arrays(RunContext& ctx, const Problem& problem, const std::vector<int>& polarity, const PrimeStore& store,
                      PolarityWork& work, int& change_count, const BundleStepSink* better_step) {
    ctx.current_sub = "fill_temp_arrays";
    change_count = 0;
    const int nx = problem.inputs();
    const int ny = problem.outputs();
    int last = -1;
    for (int j = 0; j < ny; ++j) {
        const int v = polarity[static_cast<std::size_t>(j)];
        for (int k = 0; k <= store.last(j, v); ++k) {
            ++last;
            make_temp_row(ctx, problem, work, last);
            std::copy_n(store.prime(j, v, k), nx, work.tempa.x(last));
            std::uint8_t* y = work.tempb.y(last);
            std::fill_n(y, ny, kDash);
            y[j] = static_cast<std::uint8_t>(v);
        }
    }
    work.tempa.last = last;
    work.tempb.last = last;

    CubeTable& table = work.table;
    table.nx = nx;
    table.ny = ny;
    table.rows.assign(static_cast<std::size_t>(last + 1), CubeRow{});
    for (int r = 0; r <= last; ++r) {
        CubeRow& row = table.rows[static_cast<std::size_t>(r)];
        cube_from_bytes(work.tempa.x(r), nx, row.care, row.value);
        row.outs = OutputSet{};
        const std::uint8_t* y = work.tempb.y(r);
        for (int j = 0; j < ny; ++j) {
            if (y[j] != kDash) row.outs.set(j);
        }
    }
    int merged = 0;
    merge_equal_terms(table, merged);
    if (ctx.options.rolexa_iterations > 0 && ny >= 2) {
        if (better_step != nullptr) bundle_optimization(ctx, polarity, table, change_count, *better_step);
        else bundle_optimization(ctx, polarity, table, change_count, work.bundle_best);
    }
}

}  // namespace vormel
