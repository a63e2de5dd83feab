#include <algorithm>
#include <cstdint>
#include <string>

#include "model/problem.h"
#include "multiout/polarity_estimate.h"
#include "multiout/polarity_work.h"
#include "primes/prime_store.h"
#include "report/run_context.h"

namespace vormel {

bool try_polarity(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work) {
    int changes = 0;
    fill_temp_arrays(ctx, problem, store, work, changes);
    if (ctx.failed()) return false;
    const LiteralCounts counts = count_literals(to_term_table(work.table, problem.polarity));
    const int p = counts.product_terms;
    const int l = counts.x_literals + counts.y_literals;
    if (p < work.best_pterms || (p == work.best_pterms && l < work.best_literals)) {
        work.best_polarity = problem.polarity;
        work.best_pterms = p;
        work.best_literals = l;
        return true;
    }
    return false;
}

void try_both_polarities(RunContext& ctx, Problem& problem, PrimeStore& store, PolarityWork& work) {
    const std::vector<int> saved = problem.polarity;
    const int nx = problem.inputs();
    for (int v : {1, 0}) {
        problem.polarity.assign(saved.size(), v);
        try_polarity(ctx, problem, store, work);
        if (ctx.failed()) return;
        if (ctx.options.rolexa_iterations <= 0) continue;
        // Later phases start from the terms the optimization left for each output.
        TermTable terms(nx, 0);
        for (int j = 0; j < problem.outputs(); ++j) {
            terms.clear();
            for (const CubeRow& row : work.table.rows) {
                if (!row.outs.test(j)) continue;
                const int k = terms.append_row();
                while (k > store.capacity()) {
                    grow_allprimes(ctx, problem, store);
                    if (ctx.failed()) return;
                }
                cube_to_bytes(row.care, row.value, nx, terms.x(k));
            }
            store.assign(j, v, terms, terms.last);
        }
    }
    problem.polarity = saved;
}

void sweep_polarity(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work) {
    const int ny = problem.outputs();
    problem.polarity.assign(static_cast<std::size_t>(ny), 1);
    std::vector<int> previous(static_cast<std::size_t>(ny), -1);
    if (ny == 1) return;
    const SharedTerms shared = find_shared_terms(problem, store);
    // Eight weights: adding 1/7 in double leaves the eighth just below 1.
    for (double t = 0; t <= 1; t += 1.0 / 7) {
        estimate_polarity(problem, store, shared, t);
        bool all_one = true, all_zero = true;
        for (int p : problem.polarity) {
            all_one = all_one && p == 1;
            all_zero = all_zero && p == 0;
        }
        if (problem.polarity != previous && !all_one && !all_zero) {
            try_polarity(ctx, problem, store, work);
            if (ctx.failed()) return;
        }
        previous = problem.polarity;
    }
}

void refine_polarity(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work) {
    problem.polarity = work.best_polarity;
    if (problem.outputs() == 1) return;
    bool accepted = true;
    while (accepted) {
        accepted = false;
        for (int& p : problem.polarity) {
            p = 1 - p;
            const bool improved = try_polarity(ctx, problem, store, work);
            if (ctx.failed()) return;
            accepted = accepted || improved;
            p = 1 - p;
        }
        problem.polarity = work.best_polarity;
    }
}

void try_all_combinations(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work) {
    const int ny = problem.outputs();
    if (ny > kMaxCombinationOutputs) {
        // Only the two uniform vectors have been tried: say so rather than end as if all had been.
        ctx.report.display_blank();
        ctx.report.text_red(1);
        ctx.report.display_text(" *** System Warning 9: Combination of all output polarities is not possible for " +
                                    std::to_string(ny) + " outputs (at most " + std::to_string(kMaxCombinationOutputs) +
                                    "): only the polarities 1...1 and 0...0 were tried",
                                1);
        ctx.report.flush_display(0);
        return;
    }
    const auto start = static_cast<std::int32_t>((std::int64_t{1} << ny) - 2);
    for (std::int32_t c = start; c >= 1; --c) {
        for (int j = 0; j < ny; ++j) problem.polarity[static_cast<std::size_t>(j)] = (c >> (ny - 1 - j)) & 1;
        try_polarity(ctx, problem, store, work);
        if (ctx.failed()) return;
    }
}

}  // namespace vormel
