#include "primes/qmc.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <new>
#include <utility>

#include "model/problem.h"
#include "primes/prime_passes.h"
#include "primes/prime_report.h"
#include "primes/prime_store.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

constexpr const char* kQmcTimer = " QMC PI generation";

// Largest of 3^n - 1 (the number of distinct cubes, less one; the low 32 bits of its 64-bit
// value), ten times extab_last and ymax.
int qmc_maxlpnum(const Problem& problem) {
    const auto cubes = static_cast<std::int64_t>(std::pow(3.0, problem.inputs()) - 1);
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(cubes) & 0xFFFFFFFFu));
    return std::max({low, 10 * problem.extab.last, problem.ymax});
}

void show_pair(RunContext& ctx, int inputs, int a, Cube ca, int b, Cube cb) {
    write_text(ctx, format_mask("* ###   ", a) + cube_string(ca, inputs), 1);
    write_text(ctx, format_mask("* ###   ", b) + cube_string(cb, inputs), 0);
}

// The rows of the next step that merged with nothing; false after System Error 2.
bool add_non_compacted(QmcPass& pass, const std::vector<Cube>& in, std::vector<Cube>& out,
                       const std::vector<std::uint8_t>& used) {
    RunContext& ctx = pass.ctx;
    const int maxlpnum = pass.store.maxlpnum;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (used[i] == 0) out.push_back(in[i]);
        const int last = static_cast<int>(out.size()) - 1;
        if (last >= maxlpnum) {
            ctx.report.flush_display(0);
            ctx.report.display_blank();
            ctx.report.display_blank();
            ctx.diag.show_error(" *** System Error 2: Index of tempb() array ltempb =" + STR(last) + "\r\n" +
                                    "                     larger than maxlpnum =" + STR(maxlpnum),
                                0);
            return false;
        }
    }
    return true;
}

void report_done(QmcPass& pass, const std::vector<Cube>& primes) {
    RunContext& ctx = pass.ctx;
    const int level = ctx.level();
    const int count = static_cast<int>(primes.size());
    if (level == 1) {
        if (primes.empty()) {
            write_text(ctx, "", 1);
        } else {
            write_text(ctx, format_mask("######", count), 0, Ink::blue, 1);
            write_text(ctx, "  Prime Implicants", 1);
        }
    } else if (level >= 2) {
        step_heading(ctx, " *** QMC Primes (4): " + STR(count) + " Prime Implicants after" + STR(pass.steps) +
                              " QMC Comparison Step(s)");
        list_implicants(ctx, pass.problem, pass.store.current_output, pass.store.current_value, primes);
        ctx.report.clear_interrupted();
        write_text(ctx, " ***  " + format_mask("#", count) + " Prime Implicants", 1, Ink::navy, 1);
    }
    ctx.diag.stop_timer(kQmcTimer);
    if (level >= 2 && !pass.last_output) {
        ctx.report.flush_display(0);
        ctx.report.ask_reset();
    }
}

}  // namespace

void main_QMC(QmcPass& pass, const std::vector<Cube>& in, std::vector<Cube>& out, bool& done) {
    RunContext& ctx = pass.ctx;
    const int inputs = pass.problem.inputs();
    const int level = ctx.level();

    std::vector<std::vector<int>> groups(static_cast<std::size_t>(inputs) + 1);
    for (std::size_t i = 0; i < in.size(); ++i) groups[static_cast<std::size_t>(std::popcount(in[i].value))].push_back(static_cast<int>(i));
    std::vector<std::uint8_t> used(in.size(), 0);
    pass.in_index.reset(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) pass.in_index.insert(in[i], static_cast<int>(i));

    out.clear();
    pass.out_index.reset(in.size());
    // Partners of a row of group c: the rows of group c + 1 that equal it but for one 0 turned 1.
    // Looked up per 0 of the row and taken in row order, as a scan of group c + 1 would meet them.
    std::vector<std::pair<int, std::uint32_t>> partners;
    for (int c = 0; c < inputs; ++c) {
        ctx.diag.poll_progress(0);
        const auto& lower = groups[static_cast<std::size_t>(c)];
        const auto& upper = groups[static_cast<std::size_t>(c) + 1];
        if (lower.empty() || upper.empty()) continue;
        if (level >= 3) {
            write_text(ctx, "", 1);
            write_text(ctx, " Compare group with " + STR(c) + " ones to group with " + STR(c + 1) + " ones:", 1, Ink::blue);
            write_text(ctx, "", 1);
        }
        int produced = 0;
        for (int a : lower) {
            const Cube ca = in[static_cast<std::size_t>(a)];
            partners.clear();
            for (std::uint32_t zeros = ca.care & ~ca.value; zeros != 0; zeros &= zeros - 1) {
                const std::uint32_t bit = zeros & (~zeros + 1);
                const int b = pass.in_index.find({ca.care, ca.value | bit});
                if (b >= 0) partners.emplace_back(b, bit);
            }
            std::sort(partners.begin(), partners.end());
            for (const auto& [b, bit] : partners) {
                used[static_cast<std::size_t>(a)] = 1;
                used[static_cast<std::size_t>(b)] = 1;
                const Cube merged{ca.care & ~bit, ca.value};
                if (pass.out_index.find(merged) >= 0) {
                    if (level >= 4) {
                        show_pair(ctx, inputs, a, ca, b, in[static_cast<std::size_t>(b)]);
                        write_text(ctx, "   =>          exists already", 1, Ink::green);
                        write_text(ctx, "", 1);
                    }
                    continue;
                }
                const int row = static_cast<int>(out.size());
                out.push_back(merged);
                pass.out_index.insert(merged, row);
                ++produced;
                if (level >= 3) {
                    show_pair(ctx, inputs, a, ca, b, in[static_cast<std::size_t>(b)]);
                    write_text(ctx, "   =>  " + format_mask("* ###   ", row) + cube_string(merged, inputs), 1, Ink::blue);
                    write_text(ctx, "", 1);
                }
            }
        }
        if (produced == 0 && level >= 3) write_text(ctx, "   -none-", 1, Ink::green);
    }
    if (level >= 3) {
        write_text(ctx, "", 1);
        write_text(ctx, " *** No further Comparisons", 2, Ink::navy, 1);
        ctx.report.flush_display(0);
        ctx.report.ask_reset();
        if (ctx.failed()) return;
    }

    if (out.empty()) {
        done = true;
        report_done(pass, in);
        if (ctx.failed()) return;
        store_allprimes(ctx, pass.store, cubes_to_table(in, inputs), static_cast<int>(in.size()) - 1);
        return;
    }
    done = false;
    const int merged = static_cast<int>(out.size());
    const int output = pass.store.current_output;
    const int value = pass.store.current_value;
    if (level >= 3) {
        step_heading(ctx, " *** QMC Primes (2): " + STR(merged) + " intermediate Implicants after" + STR(pass.steps) +
                              " QMC Comparison Step(s)");
        list_implicants(ctx, pass.problem, output, value, out);
        ctx.report.flush_display(0);
        ctx.report.ask_reset();
        if (ctx.failed()) return;
    }
    if (!add_non_compacted(pass, in, out, used)) return;
    const int carried = static_cast<int>(out.size()) - merged;
    if (carried > 0 && level >= 3) {
        step_heading(ctx, " *** QMC Primes (3): " + STR(carried) + " non-compacted Implicant(s) added");
        list_implicants(ctx, pass.problem, output, value, out, merged);
        ctx.report.clear_interrupted();
        ctx.report.flush_display(0);
        ctx.report.ask_reset();
    }
}

namespace {

void generate_all_qmc(RunContext& ctx, Problem& problem, PrimeStore& store) {
    const int inputs = problem.inputs();
    const int outputs = problem.outputs();
    store.maxlpnum = qmc_maxlpnum(problem);
    store.create(outputs, inputs, store.maxlpnum);
    ctx.diag.check_memory(0);

    const int level = ctx.level();
    ctx.report.display_text(" Prime Generation    : Quine-McCluskey - QMC ", 1);
    const int passes = prepare_polarity_passes(ctx, problem);
    if (level == 1) {
        step_heading(ctx, " *** QMC Primes (5):  Results of QMC Generation of Prime Implicants (MT incl. DC-Set)");
    }

    QmcPass pass{ctx, problem, store, 0, false, {}, {}};
    std::vector<Cube> tempa;
    std::vector<Cube> tempb;
    for (int p = 0; p < passes; ++p) {
        for (int j = 0; j < outputs; ++j) {
            const int v = pass_value(problem, passes, p, j);
            store.current_output = j;
            store.current_value = v;
            ctx.diag.start_timer(kQmcTimer);
            ctx.diag.poll_progress(0);
            tempa = output_set(problem, j, v);
            const int rows = static_cast<int>(tempa.size());
            report_set_start(ctx, problem, j, v, tempa, "  MT (incl. DC-Set) generate ",
                             " *** QMC Primes (1):  " + TRIM(rows) + " Minterms (plus DC-set) before QMC Compaction");
            if (ctx.failed()) return;

            pass.steps = 0;
            pass.last_output = p == passes - 1 && j == outputs - 1;
            bool done = false;
            for (;;) {
                ++pass.steps;
                main_QMC(pass, tempa, tempb, done);
                if (ctx.failed() || done) break;
                ++pass.steps;
                main_QMC(pass, tempb, tempa, done);
                if (ctx.failed() || done) break;
            }
            if (ctx.failed()) return;
        }
        if (p == 0 && passes == 2 && level > 0) ctx.report.display_blank();
    }
    report_generation_done(ctx);
    ctx.diag.poll_progress(0);
}

}  // namespace

void Primes_QMC(RunContext& ctx, Problem& problem, PrimeStore& store) {
    ctx.current_sub = "Primes_QMC";
    try {
        generate_all_qmc(ctx, problem, store);
    } catch (const std::bad_alloc&) {
        report_out_of_memory(ctx, "Primes_QMC");
    }
}

}  // namespace vormel
