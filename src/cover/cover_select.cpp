#include "cover/cover_select.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <tbb/blocked_range.h>

#include "cover/cover_matrix.h"
#include "cover/dominance.h"
#include "cover/memory_gate.h"
#include "cover/matrix_display.h"
#include "model/expanded_bits.h"
#include "model/problem.h"
#include "primes/prime_store.h"
#include "report/memory_status.h"
#include "report/number_format.h"
#include "report/run_context.h"
#include "report/run_threads.h"
#include "report/side_run.h"
#include "report/text_width.h"

namespace vormel {

namespace {

constexpr const char* kCoverTimer = " Covering process";

// The selection of one output and polarity: the matrix and the primes chosen so far.
struct Selection {
    CoverMatrix matrix;
    TermTable& result;
    int R = -1;
};

void count_MTcover(RunContext& ctx, CoverMatrix& m) {
    ctx.current_sub = "count_MTcover";
    std::fill(m.essential.begin(), m.essential.end(), 0);
    std::fill(m.state.begin(), m.state.end(), -2);
    m.done = -1;
    m.MTmin = kNoOpenMinterm;
    for (int k = 0; k <= m.K; ++k) m.count[k] = static_cast<int>(m.col(k).size()) - 1;
    for (int c = 0; c < m.classes(); ++c) {
        if ((c & 4095) == 0) ctx.diag.poll_progress(0);
        const auto primes = m.class_col(c);
        const int covering = static_cast<int>(primes.size());
        for (int p : primes) m.state[p] = 0;
        if (covering >= 1) {
            m.MTmin = std::min(m.MTmin, covering - 1);
            m.done = 0;
        }
        if (covering == 1) m.essential[primes.back()] = -1;
    }
    // Every covering cell is 1 now.
    for (int p = 0; p <= m.P; ++p) {
        int covered = 0;
        for (int c : m.row_classes(p)) covered += m.class_size(c);
        m.row_open[p] = covered;
    }
    m.reset_count_tracking();
}

void recalculate_MTmin(RunContext& ctx, CoverMatrix& m) {
    ctx.current_sub = "recalculate_MTmin";
    ctx.diag.poll_progress(0);
    m.MTmin = m.smallest_count();
    m.done = m.MTmin < kNoOpenMinterm ? 0 : -1;
}

// The active prime with the largest weight, the lowest index on ties; -1 when none is positive.
// A prime's weight sums its open minterms' weights in ascending minterm order; the sums are made
// minterm by minterm over the columns, which adds in that same order.
int calculate_weights(RunContext& ctx, const CoverMatrix& m, const CoverWeights& weights) {
    ctx.current_sub = "calculate_weights";
    // Minterms of a class have the same column and so the same weight.
    std::vector<double> class_weight(static_cast<std::size_t>(m.classes()), 0.0);
    for (int c = 0; c < m.classes(); ++c) {
        if (m.class_open[c] == 0) continue;
        double s = 0;
        for (int p : m.class_col(c)) {
            if (m.active(p)) s += weights.alpha + weights.beta * m.literals[p];
        }
        class_weight[c] = 1 / s;
    }
    std::vector<double> weight(static_cast<std::size_t>(m.P + 1), 0.0);
    for (int k = 0; k <= m.K; ++k) {
        if (!m.open(k)) continue;
        const int c = m.class_of[k];
        for (int p : m.class_col(c)) {
            if (m.active(p)) weight[p] += class_weight[c];
        }
    }
    int best = -1;
    double best_weight = 0;
    for (int p = 0; p <= m.P; ++p) {
        if (m.active(p) && weight[p] > best_weight) {
            best_weight = weight[p];
            best = p;
        }
    }
    ctx.diag.poll_progress(0);
    return best;
}

// The open minterms of prime p, ascending.
std::vector<int> open_minterms_of(const CoverMatrix& m, int p) {
    std::vector<int> open;
    for (int c : m.row_classes(p)) {
        const int* list = m.members.data() + m.member_start[c];
        for (int i = 0; i < m.member_size[c]; ++i) {
            if (m.open(list[i])) open.push_back(list[i]);
        }
    }
    std::sort(open.begin(), open.end());
    return open;
}

int minterm_list_limit(int level) {
    if (level >= 4) return 214748364;
    return level == 3 ? 1000 : 18;
}

void report_choice(RunContext& ctx, const char* tag, int p, const CoverMatrix& m, double progress) {
    std::string line = std::string(" ") + tag + " PI " + format_mask("####", p) + " =  " + m.prime_text(p) +
                       "  covering       % with  MT";
    const int shown = minterm_list_limit(ctx.level()) + 1;
    int appended = 0;
    for (int k : open_minterms_of(m, p)) {
        if (appended == shown) break;
        line += format_mask(" ###", m.minterm_line[k]);
        ++appended;
    }
    if (appended == shown) line += " ...";
    // Blanks 2 to 6 after "covering" take the progress figure.
    line.replace(line.find("covering") + 9, 5, format_mask("###.#", progress));
    if (m.literals[p] == -1) line += "    <-- trivial Function !";
    ctx.report.text_blue(1);
    ctx.report.display_text(line, 1);
    if (ctx.level() == 4) {
        ctx.report.display_blank();
        ctx.report.flush_display(0);
        ctx.report.ask_reset();
    }
}

void store_erase_PI(RunContext& ctx, const char* tag, int p, Selection& sel) {
    ctx.current_sub = "store_erase_PI";
    CoverMatrix& m = sel.matrix;
    ++sel.R;
    sel.result.reserve_rows(sel.R + 1);
    std::copy_n(m.primes->x(p), m.inputs, sel.result.x(sel.R));
    sel.result.last = sel.R;

    int covered_now = 0;
    for (int c : m.row_classes(p)) covered_now += m.class_open[c];
    const double done_count = (m.K + 1 - m.open_minterms) + covered_now;
    const double progress = std::floor(1000.0 * done_count / (m.K + 1)) / 10;
    if (ctx.level() >= 1) {
        ctx.window.set_status_line(" *** Select Cover: " + format_mask(" ###.#", progress) + " % done");
    }
    if (ctx.level() >= 2) report_choice(ctx, tag, p, m, progress);

    // Every prime on a newly covered minterm changes, and so does every open minterm it still covers.
    std::vector<int> touched;
    for (int c : m.row_classes(p)) {
        const int open = m.class_open[c];
        if (open == 0) continue;
        ctx.diag.poll_progress(0);
        for (int q : m.class_col(c)) {
            if (!m.active(q)) continue;
            m.row_open[q] -= open;
            if (m.prime_mark[q] == 0) {
                m.prime_mark[q] = 1;
                touched.push_back(q);
            }
            m.flag_prime(q);
        }
        m.for_open_members(c, [&](int k) { m.close(k); });
    }
    for (int q : touched) {
        m.prime_mark[q] = 0;
        for (int c : m.row_classes(q)) {
            if (m.class_open[c] > 0) m.flag_class(c);
        }
    }
    m.state[p] = -1;
    for (int q : m.changed_primes) {
        if (m.active(q) && m.row_open[q] == 0) m.state[q] = -1;
    }

    ctx.diag.stop_timer(kCoverTimer);
    ctx.diag.start_timer(kCoverTimer);
}

void select_Cover(RunContext& ctx, Selection& sel, const CoverWeights& weights) {
    ctx.current_sub = "select_Cover";
    CoverMatrix& m = sel.matrix;
    count_MTcover(ctx, m);
    m.clear_prime_flags();
    m.clear_minterm_flags();

    if (ctx.level() >= 3) {
        display_cover_matrix(ctx, m);
        for (int p = 0; p <= m.P; ++p) {
            if (m.state[p] != -2) continue;
            ctx.report.text_green(0);
            ctx.report.display_text("     PI " + format_mask("####", p) + " =  " + m.prime_text(p) +
                                        "  not used (generated by DC-set)",
                                    1);
        }
    }

    for (int p = 0; p <= m.P; ++p) {
        ctx.diag.poll_progress(0);
        if (m.essential[p] == 0) continue;
        m.essential[p] = 0;
        store_erase_PI(ctx, "ESS", p, sel);
        recalculate_MTmin(ctx, m);
        if (ctx.level() == 4) display_cover_matrix(ctx, m);
        if (m.done != 0) return;
    }

    const int removed = PI_MT_absorption(ctx, m);
    recalculate_MTmin(ctx, m);
    if (ctx.level() == 4 && removed != 0) display_cover_matrix(ctx, m);

    while (m.done == 0) {
        if (m.MTmin == 0) {
            const int k = m.first_single_cover();
            ctx.diag.poll_progress(0);
            const auto primes = m.col(k);
            const int p = *std::find_if(primes.begin(), primes.end(), [&](int q) { return m.active(q); });
            store_erase_PI(ctx, "SEC", p, sel);
        } else {
            ctx.diag.poll_progress(0);
            const int best = calculate_weights(ctx, m, weights);
            if (best < 0) {
                // Only primes from another function or polarity can leave an open minterm without
                // a weighted prime; stop instead of choosing nothing for ever.
                ctx.diag.show_error(" *** System Error: no Prime Implicant of positive weight left for " +
                                        TRIM(m.open_minterms) + " open Minterm(s); Cover not completed",
                                    0);
                return;
            }
            store_erase_PI(ctx, "ALT", best, sel);
        }
        recalculate_MTmin(ctx, m);
        PI_MT_absorption(ctx, m);
        recalculate_MTmin(ctx, m);
        if (ctx.level() == 4) display_cover_matrix(ctx, m);
    }
}

void cover_it(RunContext& ctx, const Problem& problem, const ExpandedBits& bits, int j, int v, const TermTable& primes,
              int P, TermTable& result, int& R, const CoverWeights& weights) {
    ctx.current_sub = "cover_it";
    const std::string title = " *** Select Cover (1):";
    const std::string function = " Covering Function y(" + TRIM(j) + "):  " + problem.ynames[j] + " =" + STR(v);
    auto heading = [&] {
        ctx.report.display_heading(title + function);
        ctx.window.set_status_line(title);
        ctx.window.set_polarity_line(function);
    };
    R = -1;
    if (P < 0) {
        if (ctx.level() >= 2) {
            heading();
            ctx.report.text_red(1);
            ctx.report.display_text(" *** No Minterms to be covered", 1);
        }
        return;
    }

    Selection sel{CoverMatrix{}, result, -1};
    CoverMatrix& m = sel.matrix;
    fill_cover_matrix(ctx, bits, problem.inputs(), j, v, primes, P, m);
    ctx.diag.poll_progress(0);

    if (ctx.level() == 1 && m.K > -1) {
        ctx.report.text_blue(1);
        ctx.report.display_text(format_mask("  ######", m.K + 1), 0);
        ctx.report.display_text("  MT and ", 0);
        ctx.report.text_blue(1);
        ctx.report.display_text(format_mask("######", P + 1), 0);
        ctx.report.display_text("  total PI covered by  ", 0);
    }
    if (ctx.level() >= 2) {
        heading();
        if (m.K == -1) {
            ctx.report.text_red(0);
            ctx.report.display_text(" *** No Minterms to be covered", 1);
            return;
        }
    }

    select_Cover(ctx, sel, weights);
    R = sel.R;

    if (ctx.level() >= 2 && m.done != 0) {
        ctx.report.flush_display(0);
        if (ctx.level() < 4) ctx.report.display_blank();
        ctx.report.text_navy(1);
        ctx.report.display_text(" ***  " + format_mask("#", R + 1) + " Product Terms", 1);
        ctx.report.flush_display(0);
    }
}

// One output and polarity: its primes, its selected cover and, when it was worked on off the run's
// thread, that work's report.
struct OutputCover {
    int j = 0;
    int v = 1;
    TermTable primes;
    TermTable result;
    int R = -1;
    std::unique_ptr<SideRun> side;
};

// Loads the output's primes and selects its cover, with its level-1 line; false when the run fails.
bool select_output(RunContext& ctx, const Problem& problem, const ExpandedBits& bits, const PrimeStore& store,
                   OutputCover& o, const CoverWeights& weights) {
    const int P = restore_from_allprimes(ctx, store, o.j, o.v, o.primes);
    if (ctx.level() == 1) {
        const std::string name = pad_right(problem.ynames[o.j], static_cast<std::size_t>(problem.ynames_maxlen));
        ctx.report.display_text(" *** Output Function  y(" + format_mask("##", o.j) + ") : " + name + " =" + STR(o.v), 0);
    }
    cover_it(ctx, problem, bits, o.j, o.v, o.primes, P, o.result, o.R, weights);
    if (ctx.failed()) return false;
    if (ctx.level() == 1) {
        if (o.R > -1) {
            ctx.report.text_blue(1);
            ctx.report.display_text(format_mask("######", o.R + 1), 0);
            ctx.report.display_text("  Product Terms", 1);
        } else {
            ctx.report.text_red(1);
            ctx.report.display_text("    is not defined", 1);
        }
    }
    return true;
}

// About what the covering matrix of an output takes at most: every (prime, minterm) cell it can hold
// twice (in its class's column and in the prime's classes), and some words per minterm.
std::int64_t matrix_bytes(const Problem& problem, const PrimeStore& store, int j, int v, std::int64_t minterms) {
    std::int64_t cells = 0;
    const int n = problem.inputs();
    for (int p = 0; p <= store.last(j, v); ++p) {
        const std::uint8_t* x = store.prime(j, v, p);
        const auto free_count = std::count(x, x + n, kDash);
        cells += std::min<std::int64_t>(std::int64_t{1} << free_count, minterms);
    }
    return 8 * cells + 48 * minterms;
}

// Outputs whose matrices would together pass this are not selected at once, in problems whose
// expanded table takes at least kLargeTableBytes. Such a table is also let go while the covers are
// selected (the matrices are built from its packed copy) and made again afterwards.
constexpr std::int64_t kMatrixBudget = std::int64_t{512} << 20;
constexpr std::size_t kLargeTableBytes = std::size_t{256} << 20;

// The expanded table, packed for the cover; a large table is let go for the time of the cover.
class PackedForCover {
public:
    explicit PackedForCover(ExpandedTable& table) : table_(table) {
        released_ = bits_.pack(table) && table.ys.size() >= kLargeTableBytes;
        if (released_) {
            table.ys = std::vector<std::uint8_t>();
            return_freed_memory();
        }
    }
    ~PackedForCover() {
        if (released_) bits_.unpack(table_);
    }
    PackedForCover(const PackedForCover&) = delete;
    PackedForCover& operator=(const PackedForCover&) = delete;

    const ExpandedBits& bits() const { return bits_; }
    bool large() const { return released_; }

private:
    ExpandedTable& table_;
    ExpandedBits bits_;
    bool released_ = false;
};

}  // namespace

void Cover_Single(RunContext& ctx, Problem& problem, PrimeStore& store, const CoverWeights& weights) {
    ctx.current_sub = "Cover_Single";
    const int n = problem.inputs();
    ctx.diag.check_memory(0);

    const bool one_pass = ctx.options.polarity_mode == polarity_zero_set || ctx.options.polarity_mode == polarity_one_set;
    const int passes = one_pass ? 1 : 2;
    if (ctx.level() == 1) {
        const std::string title = " *** Select Cover (2):  Results of Weighted covering Process (Minterms without DC-Set)";
        ctx.report.display_heading(title);
        ctx.window.set_status_line(title);
    }
    if (ctx.level() >= 1) ctx.window.set_status_line(" *** Select Cover:");

    const PackedForCover packed(problem.extab);
    std::vector<OutputCover> outputs(static_cast<std::size_t>(passes * problem.outputs()));
    for (int pass = 0; pass < passes; ++pass) {
        for (int j = 0; j < problem.outputs(); ++j) {
            OutputCover& o = outputs[static_cast<std::size_t>(pass * problem.outputs() + j)];
            o.j = j;
            o.v = one_pass ? problem.polarity[j] : pass;
            o.primes = TermTable(n, 0);
            o.result = TermTable(n, 0);
        }
    }
    // The outputs are independent: all of them are selected at once, each reporting to its own
    // record, which then goes out in output order.
    const bool at_once = outputs_at_once(ctx, outputs.size());
    if (at_once) {
        // Where the expanded table alone takes hundreds of megabytes, one matrix can too: big ones
        // wait for room. The estimates are upper bounds, so smaller problems are not held back.
        const bool gated = packed.large();
        MemoryGate gate(gated ? kMatrixBudget : std::numeric_limits<std::int64_t>::max());
        threads::for_each_index(std::size_t{0}, outputs.size(), [&](std::size_t i) {
            OutputCover& o = outputs[i];
            o.side = std::make_unique<SideRun>(ctx);
            RunContext& side = o.side->ctx();
            const GatePass pass(gate, gated ? matrix_bytes(problem, store, o.j, o.v, packed.bits().count(o.j, o.v)) : 0);
            side.diag.start_timer(kCoverTimer);
            if (select_output(side, problem, packed.bits(), store, o, weights)) side.diag.stop_timer(kCoverTimer);
            o.primes = TermTable{};
        });
    }

    for (int pass = 0; pass < passes; ++pass) {
        for (int j = 0; j < problem.outputs(); ++j) {
            OutputCover& o = outputs[static_cast<std::size_t>(pass * problem.outputs() + j)];
            ctx.diag.start_timer(kCoverTimer);
            ctx.diag.poll_progress(0);
            store.current_output = j;
            store.current_value = o.v;
            if (at_once) {
                o.side->replay_into(ctx);
                o.side.reset();
                if (ctx.failed()) return;
            } else if (!select_output(ctx, problem, packed.bits(), store, o, weights)) {
                return;
            }
            o.primes = TermTable{};
            ctx.diag.stop_timer(kCoverTimer);
            if (ctx.level() >= 2) {
                ctx.report.flush_display(0);
                const bool last = pass == passes - 1 && j == problem.outputs() - 1;
                if (!last) ctx.report.ask_reset();
                if (ctx.failed()) return;
            }
            if (o.R > -1) store_allprimes(ctx, store, o.result, o.R);
            else store.set_last(j, o.v, -1);
            o.result = TermTable{};
            if (ctx.failed()) return;
        }
        if (ctx.level() == 1 && passes == 2 && pass == 0) ctx.report.display_blank();
    }

    if (ctx.level() == 1) {
        ctx.report.flush_display(0);
        ctx.report.display_blank();
        ctx.report.text_navy(1);
        ctx.report.display_text(" *** Cover done", 2);
        ctx.report.flush_display(0);
    }
    ctx.diag.poll_progress(0);
}

}  // namespace vormel
