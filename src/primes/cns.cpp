#include "primes/cns.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <numeric>
#include <vector>

#include "model/problem.h"
#include "primes/cns_work.h"
#include "primes/prime_passes.h"
#include "primes/prime_report.h"
#include "primes/prime_store.h"
#include "report/number_format.h"
#include "report/run_context.h"
#include "report/run_threads.h"
#include "report/side_run.h"

namespace vormel {

namespace {

constexpr const char* kCnsTimer = " CNS PI generation";

// w(i) = (n - 1 - i) / (2^(n-1) + n - 1) + 1 in single precision: a "-" counts about 1, a "-" at a
// lower variable index a little more.
std::vector<float> position_weights(int inputs) {
    std::vector<float> weights(static_cast<std::size_t>(inputs));
    const double scale = std::ldexp(1.0, inputs - 1) + inputs - 1;
    for (int i = 0; i < inputs; ++i) weights[static_cast<std::size_t>(i)] = static_cast<float>((inputs - 1 - i) / scale + 1);
    return weights;
}

// The primes in row order, then by descending sum of the weights of their "-" positions. The
// sort is stable, so primes with equal keys keep their row order.
std::vector<Cube> ordered_primes(CnsWork& w, const std::vector<float>& weights) {
    std::vector<int> rows(w.lused.begin(), w.lused.end());
    std::sort(rows.begin(), rows.end());
    std::vector<Cube> primes;
    std::vector<float> keys;
    primes.reserve(rows.size());
    keys.reserve(rows.size());
    for (int r : rows) {
        const Cube c = w.table[static_cast<std::size_t>(r)];
        float key = 0;
        for (int i = 0; i < w.inputs; ++i) {
            if ((c.care & input_bit(w.inputs, i)) == 0) key += weights[static_cast<std::size_t>(i)];
        }
        primes.push_back(c);
        keys.push_back(key);
    }
    std::vector<std::size_t> order(primes.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] > keys[b]; });
    std::vector<Cube> sorted;
    sorted.reserve(order.size());
    for (std::size_t k : order) sorted.push_back(primes[k]);
    return sorted;
}

void report_start(RunContext& ctx, const Problem& problem, CnsWork& w) {
    const int rows = static_cast<int>(w.table.size());
    report_set_start(ctx, problem, w.output, w.value, w.table, "  MT (incl. DC-Set)  generate ",
                     " *** CNS Primes (1a):  " + TRIM(rows) + " Minterms (incl. DC-set) before recursive CNS Cofactor");
}

void report_primes(RunContext& ctx, const Problem& problem, const PrimeStore& store, int rows,
                   const std::vector<Cube>& primes) {
    const int level = ctx.level();
    const int count = static_cast<int>(primes.size());
    if (level == 1) {
        if (store.last(store.current_output, store.current_value) == -1) {
            write_text(ctx, "", 1);
        } else {
            write_text(ctx, format_mask("######", count), 0, Ink::blue, 1);
            write_text(ctx, "  Prime Implicants", 1);
        }
    } else if (level >= 2) {
        step_heading(ctx, " *** CNS Primes (8): " + STR(count) + " Prime Implicants after CONSENSUS Reduction of " +
                              TRIM(rows - count) + " Term(s)");
        list_implicants(ctx, problem, store.current_output, store.current_value, primes);
        ctx.report.clear_interrupted();
        write_text(ctx, " ***  " + format_mask("#", count) + " Prime Implicants", 1, Ink::navy, 1);
    }
}

// One output and polarity: the size of its set, its primes and, when it was worked on off the
// run's thread, that work's report.
struct OutputPrimes {
    int j = 0;
    int v = 1;
    int rows = 0;
    std::vector<Cube> primes;
    std::unique_ptr<SideRun> side;
};

// The output's set (with its report) and its primes by consensus in w; false when the run fails.
bool generate_output(CnsWork& w, const std::vector<float>& weights, OutputPrimes& o) {
    RunContext& ctx = w.ctx;
    w.table = output_set(w.problem, o.j, o.v);
    w.start_output(o.j, o.v);
    o.rows = static_cast<int>(w.table.size());
    report_start(ctx, w.problem, w);
    if (ctx.failed()) return false;
    if (o.rows > 1) {
        try {
            MintermList minterms(w.table.size());
            for (std::size_t r = 0; r < minterms.size(); ++r) minterms[r] = w.table[r].value;
            cofactor_CNS(w, w.lused, w.lused_cap, -1, -1, minterms, count_ones(w, minterms));
        } catch (const std::bad_alloc&) {
            report_out_of_memory(ctx, "cofactor_CNS");
            return false;
        }
        if (ctx.failed()) return false;
    }
    o.primes = ordered_primes(w, weights);
    return true;
}

void generate_all_cns(RunContext& ctx, Problem& problem, PrimeStore& store) {
    const int inputs = problem.inputs();
    const int outputs = problem.outputs();
    store.maxlpnum = problem.extab.last;
    store.create(outputs, inputs, 1);
    CnsWork w(ctx, problem);
    ctx.diag.check_memory(0);

    const int level = ctx.level();
    ctx.report.display_text(" Prime Generation    : Consensus - CNS ", 1);
    const int passes = prepare_polarity_passes(ctx, problem);
    if (level == 1) {
        step_heading(ctx, " *** CNS Primes (9):  Results of CNS Generation of Prime Implicants (MT incl. DC-Set)");
    }
    const std::vector<float> weights = position_weights(inputs);

    std::vector<OutputPrimes> work(static_cast<std::size_t>(passes * outputs));
    for (int p = 0; p < passes; ++p) {
        for (int j = 0; j < outputs; ++j) {
            OutputPrimes& o = work[static_cast<std::size_t>(p * outputs + j)];
            o.j = j;
            o.v = pass_value(problem, passes, p, j);
        }
    }
    // The outputs are independent: all of them are generated at once, each reporting to its own
    // record, which then goes out in output order.
    const bool at_once = outputs_at_once(ctx, work.size());
    if (at_once) {
        threads::for_each_index(std::size_t{0}, work.size(), [&](std::size_t i) {
            OutputPrimes& o = work[i];
            o.side = std::make_unique<SideRun>(ctx);
            CnsWork own(o.side->ctx(), problem);
            o.side->ctx().diag.start_timer(kCnsTimer);
            if (generate_output(own, weights, o)) o.side->ctx().diag.stop_timer(kCnsTimer);
        });
    }

    for (int p = 0; p < passes; ++p) {
        for (int j = 0; j < outputs; ++j) {
            OutputPrimes& o = work[static_cast<std::size_t>(p * outputs + j)];
            store.current_output = j;
            store.current_value = o.v;
            ctx.diag.start_timer(kCnsTimer);
            ctx.diag.poll_progress(0);
            if (at_once) {
                o.side->replay_into(ctx);
                o.side.reset();
                if (ctx.failed()) return;
            } else if (!generate_output(w, weights, o)) {
                return;
            }
            store_allprimes(ctx, store, cubes_to_table(o.primes, inputs), static_cast<int>(o.primes.size()) - 1);
            if (ctx.failed()) return;
            report_primes(ctx, problem, store, o.rows, o.primes);
            o.primes = std::vector<Cube>{};

            ctx.diag.stop_timer(kCnsTimer);
            if (level >= 2 && !(p == passes - 1 && j == outputs - 1)) {
                ctx.report.flush_display(0);
                ctx.report.ask_reset();
                if (ctx.failed()) return;
            }
        }
        if (p == 0 && passes == 2 && level == 1) ctx.report.display_blank();
    }
    report_generation_done(ctx);
    ctx.diag.poll_progress(1);
}

}  // namespace

void Primes_CNS(RunContext& ctx, Problem& problem, PrimeStore& store) {
    ctx.current_sub = "Primes_CNS";
    ctx.diag.poll_progress(0);
    try {
        generate_all_cns(ctx, problem, store);
    } catch (const std::bad_alloc&) {
        report_out_of_memory(ctx, "Primes_CNS");
    }
}

}  // namespace vormel
