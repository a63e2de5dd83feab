#include "cover/dominance.h"

#include <algorithm>
#include <string>
#include <vector>

#include "cover/column_classes.h"
#include "cover/cover_matrix.h"
#include "report/number_format.h"
#include "report/run_context.h"

// Only nested pairs decide anything: two rows (or columns) that share no open entry each have an
// entry the other lacks, unless one of them is empty. The row pass therefore visits, in the order
// of the full pairwise loop, the pairs that share an entry and those with an empty row, and reads
// the decision off the size of the intersection; the column pass works on classes of equal
// columns (column_classes.h). Both give the decisions of the full loop, in the same order.

namespace vormel {

namespace {

void report_dominance(RunContext& ctx, const char* what, int kept, const std::string& kept_text, int removed,
                      const std::string& removed_text) {
    if (ctx.level() < 3) return;
    ctx.report.text_green(0);
    ctx.report.display_text(std::string("     ") + what + " " + format_mask("####", kept) + " =  " + kept_text, 0);
    ctx.report.text_green(0);
    ctx.report.display_text(std::string("  dominating ") + what + " " + format_mask("####", removed) + " =  " + removed_text,
                            1);
}

void remove_prime(RunContext& ctx, CoverMatrix& m, int removed, int kept) {
    report_dominance(ctx, "PI", kept, m.prime_text(kept), removed, m.prime_text(removed));
    for (int c : m.row_classes(removed)) {
        if (m.class_open[c] == 0) continue;
        m.flag_class(c);
        m.for_open_members(c, [&](int k) { m.drop_cover(k); });
    }
    m.state[removed] = -1;
}

void remove_minterm(RunContext& ctx, CoverMatrix& m, int removed, int kept) {
    report_dominance(ctx, "MT", m.minterm_line[kept], m.minterm_text(kept), m.minterm_line[removed],
                     m.minterm_text(removed));
    for (int q : m.col(removed)) {
        if (!m.active(q)) continue;
        m.flag_prime(q);
        if (--m.row_open[q] == 0) m.empty_rows.push_back(q);
    }
    m.close(removed);
}

// Marks index once, remembering it in marked.
void mark_once(std::vector<int>& mark, std::vector<int>& marked, int index) {
    if (mark[index] == 0) {
        mark[index] = 1;
        marked.push_back(index);
    }
}

void unmark(std::vector<int>& mark, const std::vector<int>& marked) {
    for (int i : marked) mark[i] = 0;
}

// Counts in shared the open minterms that prime a shares with each active prime above it.
void count_shared_rows(const CoverMatrix& m, int a, std::vector<int>& shared, std::vector<int>& touched) {
    for (int c : m.row_classes(a)) {
        const int open = m.class_open[c];
        if (open == 0) continue;
        const auto primes = m.class_col(c);
        for (auto it = std::upper_bound(primes.begin(), primes.end(), a); it != primes.end(); ++it) {
            if (!m.active(*it)) continue;
            if (shared[*it] == 0) touched.push_back(*it);
            shared[*it] += open;
        }
    }
}

// Rows a < b with a changed member; equal rows or an empty row lose to the other, the higher
// index losing between equals.
bool row_dominance(RunContext& ctx, CoverMatrix& m) {
    bool removed_any = false;
    std::vector<int> pivots;
    std::vector<int> sorted_changed;
    for (int p : m.changed_primes) {
        if (!m.active(p)) continue;
        sorted_changed.push_back(p);
        mark_once(m.prime_mark, pivots, p);
        // The unchanged primes below p that share an open minterm meet p in their own turn.
        for (int c : m.row_classes(p)) {
            if (m.class_open[c] == 0) continue;
            for (int q : m.class_col(c)) {
                if (q >= p) break;
                if (m.active(q)) mark_once(m.prime_mark, pivots, q);
            }
        }
    }
    std::sort(sorted_changed.begin(), sorted_changed.end());

    std::vector<int> empties;
    for (int e : m.empty_rows) {
        if (m.active(e) && m.row_open[e] == 0) empties.push_back(e);
    }
    m.empty_rows.clear();
    std::sort(empties.begin(), empties.end());
    empties.erase(std::unique(empties.begin(), empties.end()), empties.end());
    // An empty row meets every prime below it.
    std::vector<int> order = pivots;
    if (!empties.empty()) {
        for (int p = 0; p <= empties.back(); ++p) {
            if (m.active(p) && m.prime_mark[p] == 0) order.push_back(p);
        }
    }
    std::sort(order.begin(), order.end());

    std::vector<int> touched;
    std::vector<int> candidates;
    for (int a : order) {
        ctx.diag.poll_progress(0);
        if (!m.active(a)) continue;
        const bool a_changed = m.prime_changed[a] != 0;
        if (m.row_open[a] == 0) {
            auto settle = [&](int b) {  // true when a fell
                if (m.row_open[b] == 0) {
                    remove_prime(ctx, m, b, a);
                    removed_any = true;
                    return false;
                }
                remove_prime(ctx, m, a, b);
                removed_any = true;
                return true;
            };
            if (a_changed) {
                for (int b = a + 1; b <= m.P; ++b) {
                    if (m.active(b) && settle(b)) break;
                }
            } else {
                for (auto it = std::upper_bound(sorted_changed.begin(), sorted_changed.end(), a);
                     it != sorted_changed.end(); ++it) {
                    if (m.active(*it) && settle(*it)) break;
                }
            }
            continue;
        }
        touched.clear();
        candidates.clear();
        if (m.prime_mark[a] != 0) count_shared_rows(m, a, m.prime_shared, touched);
        // Only pairs where one row holds the other decide anything; they are taken in index order.
        const auto decides = [&](int b) {
            const int shared = m.prime_shared[b];
            return (a_changed || m.prime_changed[b] != 0) && (m.row_open[a] == shared || m.row_open[b] == shared);
        };
        for (int b : touched) {
            if (decides(b)) candidates.push_back(b);
        }
        for (int e : empties) {
            if (e > a && decides(e)) candidates.push_back(e);
        }
        std::sort(candidates.begin(), candidates.end());
        for (int b : candidates) {
            if (!m.active(b)) continue;
            const int shared = m.prime_shared[b];
            const bool b_extra = m.row_open[b] > shared;
            removed_any = true;
            if (!b_extra) {
                remove_prime(ctx, m, b, a);
            } else {
                remove_prime(ctx, m, a, b);
                break;
            }
        }
        for (int b : touched) m.prime_shared[b] = 0;
    }
    unmark(m.prime_mark, pivots);
    return removed_any;
}

// Columns k < l with a changed member; equal columns or a column with extra primes are dropped,
// the lower index dropping between equals. Taken class by class: for k, the first later minterm
// whose column is equal or held by k's (relevant to k) drops k, and every relevant minterm before
// it whose column holds k's is dropped first, in index order.
bool column_dominance(RunContext& ctx, CoverMatrix& m) {
    if (std::none_of(m.changed_classes.begin(), m.changed_classes.end(), [&](int c) { return m.class_open[c] > 0; })) {
        return false;
    }
    ColumnClasses classes(m);
    bool removed_any = false;
    std::vector<int> dropped;
    for (int k = 0; k < m.K; ++k) {
        if (!m.open(k)) continue;
        if ((k & 1023) == 0) ctx.diag.poll_progress(0);
        const int c = classes.class_of(k);
        const bool changed_only = !m.minterm_changed(k);
        if (changed_only && !classes.meets_changed(c)) continue;
        int stop = classes.next_after(c, k, changed_only);
        for (int d : classes.subsets(c)) stop = std::min(stop, classes.next_after(d, k, changed_only));
        dropped.clear();
        for (int d : classes.supersets(c)) {
            for (int l = classes.next_after(d, k, changed_only); l < stop; l = classes.next_after(d, l, changed_only)) {
                dropped.push_back(l);
            }
        }
        std::sort(dropped.begin(), dropped.end());
        for (int l : dropped) {
            remove_minterm(ctx, m, l, k);
            classes.remove(l);
            removed_any = true;
        }
        if (stop != INT_MAX) {
            remove_minterm(ctx, m, k, stop);
            classes.remove(k);
            removed_any = true;
        }
    }
    return removed_any;
}

}  // namespace

int PI_MT_absorption(RunContext& ctx, CoverMatrix& matrix) {
    ctx.current_sub = "PI_MT_absorption";
    for (;;) {
        ctx.diag.poll_progress(0);
        const bool prime_removed = row_dominance(ctx, matrix);
        matrix.clear_prime_flags();
        if (prime_removed) return -1;
        const bool minterm_removed = column_dominance(ctx, matrix);
        matrix.clear_minterm_flags();
        if (!minterm_removed) return 0;
    }
}

}  // namespace vormel
