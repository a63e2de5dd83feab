#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include <tbb/enumerable_thread_specific.h>

#include "model/problem.h"
#include "multiout/polarity_estimate.h"
#include "multiout/polarity_work.h"
#include "primes/prime_store.h"
#include "report/run_context.h"
#include "report/run_threads.h"
#include "report/side_run.h"

namespace vormel {

namespace {

struct TryFigures {
    int pterms = 0;
    int literals = 0;
};

TryFigures try_figures_of(const CubeTable& table, const std::vector<int>& polarity) {
    const LiteralCounts counts = count_literals(to_term_table(table, polarity));
    return {counts.product_terms, counts.x_literals + counts.y_literals};
}

bool record_if_better(PolarityWork& work, const std::vector<int>& polarity, TryFigures f) {
    if (f.pterms < work.best_pterms || (f.pterms == work.best_pterms && f.literals < work.best_literals)) {
        work.best_polarity = polarity;
        work.best_pterms = f.pterms;
        work.best_literals = f.literals;
        return true;
    }
    return false;
}

// One vector solved off the run's thread: its figures, the better steps of its bundle optimization
// (shown when its turn comes) and whatever else it wrote.
struct SideTry {
    std::vector<int> polarity;
    TryFigures figures;
    std::vector<BundleStep> steps;
    std::unique_ptr<SideRun> side;
};

void solve_aside(const RunContext& ctx, const Problem& problem, const PrimeStore& store, PolarityWork& work, SideTry& t) {
    t.side = std::make_unique<SideRun>(ctx);
    const BundleStepSink keep = [&](const BundleStep& step) { t.steps.push_back(step); };
    int changes = 0;
    fill_temp_arrays(t.side->ctx(), problem, t.polarity, store, work, changes, &keep);
    if (!t.side->ctx().failed()) t.figures = try_figures_of(work.table, t.polarity);
}

}  // namespace

bool try_polarity(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work) {
    int changes = 0;
    fill_temp_arrays(ctx, problem, problem.polarity, store, work, changes);
    if (ctx.failed()) return false;
    return record_if_better(work, problem.polarity, try_figures_of(work.table, problem.polarity));
}

bool try_polarities(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work, std::size_t count,
                    const PolarityVectorOf& vector_of) {
    bool recorded = false;
    if (!outputs_at_once(ctx, count)) {
        for (std::size_t i = 0; i < count; ++i) {
            vector_of(i, problem.polarity);
            recorded = try_polarity(ctx, problem, store, work) || recorded;
            if (ctx.failed()) break;
        }
        return recorded;
    }
    // Each vector's table depends on the vector alone, so blocks of them are solved at once; the
    // choice and the report then go through them in order. A vector whose work wrote anything else
    // (a warning, an error) is solved again in its turn on the run itself, so its lines fall where
    // they would.
    PolarityWork fresh;
    fresh.reset(problem, store);
    tbb::enumerable_thread_specific<PolarityWork> works(fresh);
    const std::size_t block = 32 * static_cast<std::size_t>(threads::available());
    std::vector<SideTry> tries;
    for (std::size_t first = 0; first < count && !ctx.failed(); first += block) {
        const std::size_t size = std::min(block, count - first);
        tries.clear();
        tries.resize(size);
        ctx.diag.check_memory(0);  // the block's side runs sample on from here
        threads::for_each_index(std::size_t{0}, size, [&](std::size_t k) {
            SideTry& t = tries[k];
            vector_of(first + k, t.polarity);
            solve_aside(ctx, problem, store, works.local(), t);
        });
        for (SideTry& t : tries) {
            if (!t.side->quiet()) {
                problem.polarity = t.polarity;
                recorded = try_polarity(ctx, problem, store, work) || recorded;
                if (ctx.failed()) return recorded;
                continue;
            }
            t.side->replay_into(ctx);
            for (const BundleStep& step : t.steps) show_bundle_step(ctx, t.polarity, step, work.bundle_best);
            recorded = record_if_better(work, t.polarity, t.figures) || recorded;
        }
        problem.polarity = tries.back().polarity;
        ctx.diag.poll_progress(0);
    }
    return recorded;
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
    // The estimates do not depend on the tries: the vectors are found first, then tried.
    std::vector<std::vector<int>> vectors;
    // Eight weights: adding 1/7 in double leaves the eighth just below 1.
    for (double t = 0; t <= 1; t += 1.0 / 7) {
        estimate_polarity(problem, store, shared, t);
        const bool all_one = std::all_of(problem.polarity.begin(), problem.polarity.end(), [](int p) { return p == 1; });
        const bool all_zero = std::all_of(problem.polarity.begin(), problem.polarity.end(), [](int p) { return p == 0; });
        if (problem.polarity != previous && !all_one && !all_zero) vectors.push_back(problem.polarity);
        previous = problem.polarity;
    }
    const std::vector<int> last_estimate = problem.polarity;
    try_polarities(ctx, problem, store, work, vectors.size(),
                   [&](std::size_t i, std::vector<int>& polarity) { polarity = vectors[i]; });
    if (!ctx.failed()) problem.polarity = last_estimate;
}

void refine_polarity(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work) {
    problem.polarity = work.best_polarity;
    if (problem.outputs() == 1) return;
    bool accepted = true;
    while (accepted) {
        // Every flip of a pass starts from the pass's vector.
        const std::vector<int> start = problem.polarity;
        accepted = try_polarities(ctx, problem, store, work, start.size(), [&](std::size_t j, std::vector<int>& polarity) {
            polarity = start;
            polarity[j] = 1 - polarity[j];
        });
        if (ctx.failed()) return;
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
    try_polarities(ctx, problem, store, work, static_cast<std::size_t>(start),
                   [&](std::size_t i, std::vector<int>& polarity) {
                       const std::int32_t c = start - static_cast<std::int32_t>(i);
                       polarity.resize(static_cast<std::size_t>(ny));
                       for (int j = 0; j < ny; ++j) polarity[static_cast<std::size_t>(j)] = (c >> (ny - 1 - j)) & 1;
                   });
}

}  // namespace vormel
