#include <algorithm>
#include <bit>

#include "model/problem.h"
#include "primes/cns_work.h"
#include "primes/prime_report.h"
#include "primes/temp_dim.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

CnsWork::CnsWork(RunContext& context, const Problem& prob)
    : ctx(context), problem(prob), inputs(prob.inputs()), maxlpnum(prob.extab.last), table_cap(prob.extab.last),
      lused_cap(prob.extab.last), xtree(static_cast<std::size_t>(prob.inputs()), '.'),
      levels(static_cast<std::size_t>(prob.inputs()) + 3) {}

void CnsWork::start_output(int out, int val) {
    output = out;
    value = val;
    table_last = static_cast<int>(table.size()) - 1;
    lused.resize(table.size());
    for (std::size_t r = 0; r < lused.size(); ++r) lused[r] = static_cast<int>(r);
    free_rows.clear();
    xtree.assign(static_cast<std::size_t>(inputs), '.');
    split_mask = 0;
    split_count = -1;
    level = 0;
}

void CnsWork::check_table(int needed, const char* name) {
    if (needed > table_cap) table_cap = temp_DIM_last(ctx, problem, table_cap, needed, name, 6);
}

int CnsWork::take_row() {
    int row;
    if (free_rows.empty()) {
        row = ++table_last;
    } else {
        row = free_rows.back();
        free_rows.pop_back();
    }
    if (row >= static_cast<int>(table.size())) table.resize(std::max(table.size() * 2, static_cast<std::size_t>(row) + 1));
    return row;
}

void CnsWork::heartbeat() {
    if ((++heartbeats & 255u) == 0) ctx.diag.poll_progress(0);
}

void CnsWork::sample_memory() {
    if ((++memory_samples & 255u) == 0) ctx.diag.check_memory(0);
}

CnsLevelLists& CnsWork::enter_level_lists() {
    CnsLevelLists& lists = levels[static_cast<std::size_t>(level)];
    lists.zero.clear();
    lists.one.clear();
    lists.zero_values.clear();
    lists.one_values.clear();
    lists.consensus.clear();
    lists.live_care.clear();
    lists.live_value.clear();
    lists.live_position.clear();
    lists.dead = 0;
    lists.live_files.reset();
    lists.zero_cap = lists.one_cap = lists.consensus_cap = maxlpnum;
    return lists;
}

namespace {

// The recursion level counts up on entry and down on every way out.
struct LevelScope {
    explicit LevelScope(CnsWork& w) : work(w) { ++work.level; }
    ~LevelScope() { --work.level; }
    LevelScope(const LevelScope&) = delete;
    LevelScope& operator=(const LevelScope&) = delete;
    CnsWork& work;
};

// True when the user went on.
bool pause(RunContext& ctx) {
    ctx.report.ask_reset();
    return !ctx.failed();
}

// Ones per variable of many minterms: eight bit-sliced counters held in registers (bit b of
// counter k is bit k of the count of variable b), emptied into the totals every 255 minterms.
void add_ones(const std::uint32_t* values, std::size_t count, std::uint32_t mask, SetCounts& counts) {
    std::size_t k = 0;
    while (k < count) {
        const std::size_t end = std::min(count, k + 255);
        std::uint32_t p0 = 0, p1 = 0, p2 = 0, p3 = 0, p4 = 0, p5 = 0, p6 = 0, p7 = 0;
        for (; k < end; ++k) {
            std::uint32_t c = values[k] & mask;
            std::uint32_t t = p0 & c;
            p0 ^= c;
            c = t;
            t = p1 & c, p1 ^= c, c = t;
            t = p2 & c, p2 ^= c, c = t;
            t = p3 & c, p3 ^= c, c = t;
            t = p4 & c, p4 ^= c, c = t;
            t = p5 & c, p5 ^= c, c = t;
            t = p6 & c, p6 ^= c, c = t;
            p7 ^= c;
        }
        const std::uint32_t planes[8] = {p0, p1, p2, p3, p4, p5, p6, p7};
        for (int bit = 0; bit < 8; ++bit) {
            for (std::uint32_t p = planes[bit]; p != 0; p &= p - 1) counts.ones[std::countr_zero(p)] += 1 << bit;
        }
    }
}

// The unsplit variable with the most unbalanced split of the set: score max(z, o) - 1 over
// variables where both values occur; the first of the best wins. -1 when all are constant.
// The rows of a set being split are minterms on every unsplit variable.
int choose_split(const CnsWork& w, const SetCounts& counts, int rows) {
    const std::uint32_t unsplit = all_inputs(w.inputs) & ~w.split_mask;
    int best = -1;
    int best_score = -1;
    for (int i = 0; i < w.inputs; ++i) {
        const int bit = w.inputs - 1 - i;
        if ((unsplit >> bit & 1u) == 0) continue;
        const int o = counts.ones[bit];
        const int z = rows - o;
        if (z < 1 || o < 1) continue;
        const int score = std::max(z, o) - 1;
        if (score > best_score) {
            best_score = score;
            best = i;
        }
    }
    return best;
}

// Splits the set at the variable (already flagged) into the two cofactor lists, in list order,
// with their minterms. Only the smaller side's ones are counted; the other side's are the rest.
void split_set(const CnsWork& w, const RowList& rows, const MintermList& values, int var,
               const SetCounts& counts, CnsLevelLists& lists, SetCounts& zero_counts, SetCounts& one_counts) {
    const std::uint32_t bit = input_bit(w.inputs, var);
    const std::uint32_t unsplit = all_inputs(w.inputs) & ~w.split_mask;
    // Without a branch per row: every row is written to both sides, and the side it belongs to
    // moves on.
    const std::size_t count = rows.size();
    lists.zero.resize(count);
    lists.one.resize(count);
    lists.zero_values.resize(count);
    lists.one_values.resize(count);
    std::size_t zeros = 0;
    std::size_t ones = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t v = values[k];
        const std::size_t is_one = (v & bit) != 0 ? 1 : 0;
        lists.zero[zeros] = rows[k];
        lists.zero_values[zeros] = v;
        lists.one[ones] = rows[k];
        lists.one_values[ones] = v;
        zeros += 1 - is_one;
        ones += is_one;
    }
    lists.zero.resize(zeros);
    lists.zero_values.resize(zeros);
    lists.one.resize(ones);
    lists.one_values.resize(ones);
    const bool ones_smaller = lists.one.size() <= lists.zero.size();
    const MintermList& smaller = ones_smaller ? lists.one_values : lists.zero_values;
    SetCounts& counted = ones_smaller ? one_counts : zero_counts;
    SetCounts& rest = ones_smaller ? zero_counts : one_counts;
    add_ones(smaller.data(), smaller.size(), unsplit, counted);
    for (int b = 0; b < 32; ++b) rest.ones[b] = (unsplit >> b & 1u) != 0 ? counts.ones[b] - counted.ones[b] : 0;
}

void compact_live(CnsLevelLists& lists) {
    std::size_t kept = 0;
    for (std::size_t k = 0; k < lists.live_care.size(); ++k) {
        if (lists.live_care[k] == kDeadBit) continue;
        lists.live_care[kept] = lists.live_care[k];
        lists.live_value[kept] = lists.live_value[k];
        lists.live_position[kept] = lists.live_position[k];
        ++kept;
    }
    lists.live_care.resize(kept);
    lists.live_value.resize(kept);
    lists.live_position.resize(kept);
    lists.dead = 0;
    if (kept >= LiteralFiles::kWorthFrom) lists.live_files.build(lists.live_care.data(), lists.live_value.data(), kept);
    else lists.live_files.reset();
}

// Single-cube containment among the consensus rows, for the newest one c: c goes when an earlier
// row contains it; otherwise every earlier row that c contains (or equals) goes, in list order.
// The not deleted rows never contain one another, so a row containing c and a row contained in c
// cannot both exist, and one pass over the live rows decides.
// Whether a live row contains the cube (c_care, c_value) with fewer literals. The scan runs over
// every live consensus row for every new one, so it is written to vectorize: no branch, one
// reduction. A marked entry (kDeadBit) never contains.
__attribute__((target_clones("avx2", "default"))) bool contained_in_live(const std::uint32_t* care,
                                                                         const std::uint32_t* value, std::size_t count,
                                                                         std::uint32_t c_care, std::uint32_t c_value) {
    std::uint32_t found = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t r_care = care[k];
        const std::uint32_t outside = (r_care & ~c_care) | ((value[k] ^ c_value) & r_care);
        found |= static_cast<std::uint32_t>(outside == 0) & static_cast<std::uint32_t>(r_care != c_care);
    }
    return found != 0;
}

// The live rows that the cube contains (or equals), in order; a marked entry differs at bit 31.
// Blocks without a hit are passed over after one vectorized test.
__attribute__((target_clones("avx2", "default"))) void collect_contained(const std::uint32_t* care,
                                                                         const std::uint32_t* value, std::size_t count,
                                                                         std::uint32_t c_care, std::uint32_t c_value,
                                                                         std::vector<std::size_t>& contained) {
    constexpr std::size_t kBlock = 16;
    const std::uint32_t tested = c_care | kDeadBit;
    std::size_t k = 0;
    for (; k + kBlock <= count; k += kBlock) {
        std::uint32_t hit = 0;
        for (std::size_t i = k; i < k + kBlock; ++i) {
            hit |= static_cast<std::uint32_t>(((c_care & ~care[i]) | ((value[i] ^ c_value) & tested)) == 0);
        }
        if (hit == 0) continue;
        for (std::size_t i = k; i < k + kBlock; ++i) {
            if (((c_care & ~care[i]) | ((value[i] ^ c_value) & tested)) == 0) contained.push_back(i);
        }
    }
    for (; k < count; ++k) {
        if (((c_care & ~care[k]) | ((value[k] ^ c_value) & tested)) == 0) contained.push_back(k);
    }
}

void consensus_absorption(CnsWork& w, CnsLevelLists& lists) {
    const std::uint32_t kept = ~w.split_mask;
    const int c_row = lists.consensus.back();
    const Cube c = w.table[static_cast<std::size_t>(c_row)];
    const std::uint32_t c_care = c.care & kept;
    const std::uint32_t c_value = c.value & kept;
    const std::size_t count = lists.live_care.size();
    const std::uint32_t* care = lists.live_care.data();
    const std::uint32_t* value = lists.live_value.data();
    const bool contained = lists.live_files.active()
                               ? lists.live_files.strictly_contains(c_care, c_value, contained_in_live)
                               : contained_in_live(care, value, count, c_care, c_value);
    if (contained) {
        w.free_rows.push_back(c_row);
        lists.consensus.pop_back();
        return;
    }
    lists.contained.clear();
    collect_contained(care, value, count, c_care, c_value, lists.contained);
    for (std::size_t k : lists.contained) {
        const int position = lists.live_position[k];
        w.free_rows.push_back(lists.consensus[static_cast<std::size_t>(position)]);
        lists.consensus[static_cast<std::size_t>(position)] = -1;
        lists.live_care[k] = kDeadBit;
        lists.live_value[k] = kDeadBit;
        ++lists.dead;
        if (lists.live_files.active()) lists.live_files.kill(k);
    }
    lists.live_care.push_back(c_care);
    lists.live_value.push_back(c_value);
    lists.live_position.push_back(static_cast<int>(lists.consensus.size()) - 1);
    if (lists.live_files.active()) lists.live_files.add(c_care, c_value);
    else if (lists.live_care.size() >= LiteralFiles::kWorthFrom) {
        lists.live_files.build(lists.live_care.data(), lists.live_value.data(), lists.live_care.size());
    }
    if (lists.dead > 64 && lists.dead * 2 > lists.live_care.size()) compact_live(lists);
}

// Consensus of every 0-cofactor row with every 1-cofactor row (at most one opposed variable).
void generate_CNS(CnsWork& w, CnsLevelLists& lists) {
    const std::uint32_t kept = ~w.split_mask;
    for (int a : lists.zero) {
        if (a < 0) continue;
        for (int b : lists.one) {
            if (b < 0) continue;
            const int candidate = w.free_rows.empty() ? w.table_last + 1 : w.free_rows.back();
            w.check_table(std::max({a, b, candidate}), " 1. tempa() in generate_CNS");
            const Cube ca = w.table[static_cast<std::size_t>(a)];
            const Cube cb = w.table[static_cast<std::size_t>(b)];
            const std::uint32_t opposed = ca.care & cb.care & (ca.value ^ cb.value) & kept;
            if ((opposed & (opposed - 1)) != 0) continue;
            const int row = w.take_row();
            const std::uint32_t care = (ca.care | cb.care) & ~opposed;
            w.table[static_cast<std::size_t>(row)] = Cube{care, (ca.value | cb.value) & care};
            lists.consensus.push_back(row);
            const int needed = static_cast<int>(lists.consensus.size()) - 1;
            if (needed > lists.consensus_cap) {
                lists.consensus_cap =
                    temp_DIM_last(w.ctx, w.problem, lists.consensus_cap, needed, " 1. lusedc() in generate_CNS", 7);
            }
            consensus_absorption(w, lists);
        }
    }
}

// c contains r on every variable outside the splitting variables.
bool contains(Cube c, Cube r, std::uint32_t kept) {
    return (c.care & ~r.care & kept) == 0 && ((c.value ^ r.value) & c.care & kept) == 0;
}

void delete_contained(CnsWork& w, Cube c, RowList& rows, bool& deleted) {
    const std::uint32_t kept = ~w.split_mask;
    for (int& r : rows) {
        if (r < 0 || !contains(c, w.table[static_cast<std::size_t>(r)], kept)) continue;
        w.free_rows.push_back(r);
        r = -1;
        deleted = true;
    }
}

// Builds the level's result in `lused`: the consensus rows, then the cofactor rows that no
// consensus row contains (0-cofactor first).
void absorption_CNS(CnsWork& w, CnsLevelLists& lists, RowList& lused, int& lused_cap, int var,
                    std::uint32_t path) {
    RunContext& ctx = w.ctx;
    const int needed = static_cast<int>(lists.consensus.size() + lists.zero.size() + lists.one.size()) - 1;
    if (needed > lused_cap) lused_cap = temp_DIM_last(ctx, w.problem, lused_cap, needed, " 1. lused() in absorption_CNS", 7);
    w.check_table(w.table_last, " 1. tempa() in absorption_CNS");
    lused.clear();
    bool deleted = false;
    for (int c : lists.consensus) {
        if (c < 0) continue;
        lused.push_back(c);
        const Cube cube = w.table[static_cast<std::size_t>(c)];
        delete_contained(w, cube, lists.zero, deleted);
        delete_contained(w, cube, lists.one, deleted);
    }
    if (deleted && ctx.level() >= 3) {
        cns_xtree_heading(w, " *** CNS Primes (6):  Remaining Terms after SCC ABSORPTION");
        cns_consensus_display(w, lists, var, path);
        ctx.report.flush_display(0);
        if (!pause(ctx)) return;
    }
    for (int r : lists.zero) {
        if (r >= 0) lused.push_back(r);
    }
    for (int r : lists.one) {
        if (r >= 0) lused.push_back(r);
    }
}

// One cofactor of a split level: collapse a complete subcube, leave a single row, or recurse.
// False when the run was aborted.
bool process_cofactor(CnsWork& w, RowList& rows, const MintermList& values, int& rows_cap,
                      int var, int cofactor_value, std::uint32_t path, const SetCounts& counts) {
    RunContext& ctx = w.ctx;
    const int display = ctx.level();
    w.heartbeat();
    const std::uint32_t unsplit = all_inputs(w.inputs) & ~w.split_mask;
    // Constant: the ones of the variable are none or all of the rows.
    std::uint32_t constant = 0;
    const int size = static_cast<int>(rows.size());
    for (std::uint32_t bits = unsplit; bits != 0; bits &= bits - 1) {
        const int b = std::countr_zero(bits);
        if (counts.ones[b] == 0 || counts.ones[b] == size) constant |= 1u << b;
    }
    const int free_count = w.inputs - (w.split_count + 1) - std::popcount(constant);
    const std::string digit(1, static_cast<char>('0' + cofactor_value));
    const char* message = nullptr;
    if (rows.size() == 1) {
        message = "-Cofactor has one Line => No further Processing";
    } else if (free_count < 31 && rows.size() == (std::size_t{1} << free_count)) {
        const std::uint32_t free_vars = unsplit & ~constant;
        const int first = rows.front();
        Cube& cube = w.table[static_cast<std::size_t>(first)];
        cube.care &= ~free_vars;
        cube.value &= ~free_vars;
        w.free_rows.insert(w.free_rows.end(), rows.begin() + 1, rows.end());
        rows.resize(1);
        if (display >= 4) {
            cns_xtree_heading(w, " *** CNS Primes (3b-" + digit + "):  " + digit + "-Cofactor has complete Binary Variables");
            cns_set_display(w, rows, var, -1, path);
            write_text(ctx, "", 1);
            write_text(ctx,
                       format_mask("* ####   ", first) + cube_string(cube, w.inputs, path) + "      <-- " + TRIM(free_count) +
                           " variable(s) set to -, " + digit + " re-inserted and return",
                       1, Ink::blue);
            ctx.report.flush_display(0);
            return pause(ctx);
        }
        return true;
    } else {
        w.xtree[static_cast<std::size_t>(var)] = digit[0];
        cofactor_CNS(w, rows, rows_cap, var, cofactor_value, values, counts);
        if (ctx.failed()) return false;
        w.xtree[static_cast<std::size_t>(var)] = '.';
    }
    if (display >= 4) {
        cns_xtree_heading(w, message != nullptr
                                 ? " *** CNS Primes (3a-" + digit + "):  " + digit + message
                                 : " *** CNS Primes (4-" + digit + "):  Returned from " + digit + "-Cofactor => " + digit +
                                       " re-inserted");
        cns_set_display(w, rows, var, -1, path);
        ctx.report.clear_interrupted();
        ctx.report.flush_display(0);
        return pause(ctx);
    }
    return true;
}

}  // namespace

SetCounts count_ones(const CnsWork& w, const MintermList& values) {
    SetCounts counts;
    add_ones(values.data(), values.size(), all_inputs(w.inputs) & ~w.split_mask, counts);
    return counts;
}

void cofactor_CNS(CnsWork& w, RowList& lused, int& lused_cap, int caller_var, int caller_value,
                  const MintermList& values, const SetCounts& counts) {
    RunContext& ctx = w.ctx;
    ctx.current_sub = "cofactor_CNS";
    LevelScope scope(w);
    CnsLevelLists& lists = w.enter_level_lists();
    w.sample_memory();
    w.heartbeat();
    const int display = ctx.level();
    const std::uint32_t path = w.split_mask;

    if (display >= 3 && w.level > 1) {
        cns_xtree_heading(w, " *** CNS Primes (1b):  Input Set for recursive " +
                                 (caller_value != -1 ? TRIM(caller_value) + "-" : std::string()) + "Cofactor");
        cns_set_display(w, lused, caller_var, caller_value, path);
        ctx.report.clear_interrupted();
        ctx.report.flush_display(0);
        if (!pause(ctx)) return;
    }
    if (lused.size() <= 1) {
        if (display >= 4) {
            cns_xtree_heading(w, " *** CNS Primes (2b):  Subset has one Line => Return directly");
            cns_set_display(w, lused, caller_var, caller_value, path);
            pause(ctx);
        }
        return;
    }

    int var = -1;
    if (lused.size() == 2) {
        // The variable only labels the displays: two rows go straight to consensus.
        if (display >= 3) var = choose_split(w, counts, 2);
        if (display >= 4) {
            cns_xtree_heading(w, " *** CNS Primes (2c):  Subset has two Lines => Do CONSENSUS directly");
            cns_set_display(w, lused, var, -1, path);
            if (!pause(ctx)) return;
        }
        lists.zero.assign(lused.begin(), lused.begin() + 1);
        lists.one.assign(lused.begin() + 1, lused.end());
    } else {
        w.heartbeat();
        var = choose_split(w, counts, static_cast<int>(lused.size()));
        // Three or more distinct minterms always differ somewhere; nothing to split otherwise.
        if (var < 0) return;
        const std::uint32_t bit = input_bit(w.inputs, var);
        w.split_mask |= bit;
        ++w.split_count;
        if (display >= 4) {
            cns_xtree_heading(w, " *** CNS Primes (2a):  Splitting Variable chosen");
            cns_set_display(w, lused, var, -1, path);
            if (!pause(ctx)) return;
        }
        SetCounts zero_counts;
        SetCounts one_counts;
        split_set(w, lused, values, var, counts, lists, zero_counts, one_counts);
        if (!process_cofactor(w, lists.zero, lists.zero_values, lists.zero_cap, var, 0, path, zero_counts)) return;
        if (!process_cofactor(w, lists.one, lists.one_values, lists.one_cap, var, 1, path, one_counts)) return;
        w.split_mask &= ~bit;
        --w.split_count;
    }

    w.heartbeat();
    generate_CNS(w, lists);
    if (display >= 3) {
        cns_xtree_heading(w, " *** CNS Primes (5):  CONSENSUS of 0- and 1-Cofactor");
        cns_consensus_display(w, lists, var, path);
        ctx.report.flush_display(0);
        if (!pause(ctx)) return;
    }
    w.heartbeat();
    absorption_CNS(w, lists, lused, lused_cap, var, path);
    if (ctx.failed()) return;
    if (display >= 4 && w.level > 1) {
        cns_xtree_heading(w, " *** CNS Primes (7):  " + TRIM(static_cast<double>(lused.size())) +
                                 " partial Primes returned to calling Recursion Level");
        cns_set_display(w, lused, caller_var, caller_value, path);
        ctx.report.flush_display(0);
        pause(ctx);
    }
}

}  // namespace vormel
