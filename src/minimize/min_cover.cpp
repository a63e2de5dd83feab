#include "minimize/min_cover.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

namespace vormel::minimize {

namespace {

using Bits = std::vector<std::uint64_t>;

inline bool test(const Bits& b, int i) { return (b[i >> 6] >> (i & 63)) & 1u; }
inline void set(Bits& b, int i) { b[i >> 6] |= std::uint64_t{1} << (i & 63); }
inline void reset(Bits& b, int i) { b[i >> 6] &= ~(std::uint64_t{1} << (i & 63)); }

class Search {
public:
    Search(const CoveringProblem& p, long node_limit) : p_(p), words_((p.columns + 63) / 64), limit_(node_limit) {
        for (const auto& row : p.rows) {
            if (row.empty()) continue;
            Bits b(words_, 0);
            for (int c : row) set(b, c);
            rows_.push_back(std::move(b));
        }
    }

    CoveringResult run() {
        std::vector<int> live(rows_.size());
        for (std::size_t i = 0; i < live.size(); ++i) live[i] = static_cast<int>(i);
        Bits alive(words_, 0);
        for (int c = 0; c < p_.columns; ++c) set(alive, c);
        greedy(live);
        std::vector<int> chosen;
        visit(live, alive, chosen, 0);
        std::sort(best_.begin(), best_.end());
        return CoveringResult{best_, exact_};
    }

private:
    int count_in(const Bits& row, const Bits& alive) const {
        int n = 0;
        for (int w = 0; w < words_; ++w) n += std::popcount(row[w] & alive[w]);
        return n;
    }
    bool subset(const Bits& a, const Bits& b, const Bits& alive) const {  // a & alive within b
        for (int w = 0; w < words_; ++w)
            if (a[w] & alive[w] & ~b[w]) return false;
        return true;
    }
    template <typename Fn>
    void for_each_column(const Bits& row, const Bits& alive, Fn&& fn) const {
        for (int w = 0; w < words_; ++w)
            for (std::uint64_t m = row[w] & alive[w]; m; m &= m - 1) fn(64 * w + std::countr_zero(m));
    }

    // Most rows per cost first; then drop chosen columns that turned out redundant.
    void greedy(const std::vector<int>& live) {
        std::vector<char> open(rows_.size(), 0);
        for (int r : live) open[r] = 1;
        std::vector<int> chosen;
        int left = static_cast<int>(live.size());
        Bits all(words_, ~std::uint64_t{0});
        while (left > 0) {
            std::vector<int> hits(p_.columns, 0);
            for (int r : live)
                if (open[r]) for_each_column(rows_[r], all, [&](int c) { ++hits[c]; });
            int best = -1;
            for (int c = 0; c < p_.columns; ++c)
                if (hits[c] > 0 && (best < 0 || static_cast<long>(hits[c]) * p_.cost[best] >
                                                    static_cast<long>(hits[best]) * p_.cost[c]))
                    best = c;
            chosen.push_back(best);
            for (int r : live)
                if (open[r] && test(rows_[r], best)) open[r] = 0, --left;
        }
        for (std::size_t k = chosen.size(); k-- > 0;) {
            Bits others(words_, 0);
            for (std::size_t j = 0; j < chosen.size(); ++j)
                if (j != k) set(others, chosen[j]);
            bool needed = false;
            for (int r : live)
                if (count_in(rows_[r], others) == 0) needed = true;
            if (!needed) chosen.erase(chosen.begin() + static_cast<long>(k));
        }
        best_ = chosen;
        best_cost_ = 0;
        for (int c : chosen) best_cost_ += p_.cost[c];
    }

    void visit(std::vector<int> live, Bits alive, std::vector<int>& chosen, int cost) {
        if (++nodes_ > limit_) {
            exact_ = false;
            return;
        }
        const std::size_t chosen_mark = chosen.size();
        for (bool changed = true; changed;) {
            changed = false;
            // A row with one column left forces it.
            for (std::size_t i = 0; i < live.size(); ++i) {
                const int n = count_in(rows_[live[i]], alive);
                if (n == 0) {
                    chosen.resize(chosen_mark);
                    return;
                }
                if (n == 1) {
                    int col = -1;
                    for_each_column(rows_[live[i]], alive, [&](int c) { col = c; });
                    chosen.push_back(col);
                    cost += p_.cost[col];
                    reset(alive, col);
                    std::erase_if(live, [&](int r) { return test(rows_[r], col); });
                    changed = true;
                    break;
                }
            }
            if (changed) continue;
            if (cost >= best_cost_) break;
            // A row containing another row is satisfied with it.
            std::sort(live.begin(), live.end(), [&](int a, int b) {
                const int na = count_in(rows_[a], alive), nb = count_in(rows_[b], alive);
                return na != nb ? na < nb : a < b;
            });
            std::vector<int> kept;
            for (int r : live) {
                bool dominated = false;
                for (int k : kept)
                    if (subset(rows_[k], rows_[r], alive)) {
                        dominated = true;
                        break;
                    }
                if (!dominated) kept.push_back(r);
            }
            if (kept.size() != live.size()) live.swap(kept);
            // A column whose rows another column as cheap also satisfies is not needed.
            const int nrows = static_cast<int>(live.size());
            const int rwords = (nrows + 63) / 64;
            std::vector<int> cols;
            for_each_column(Bits(words_, ~std::uint64_t{0}), alive, [&](int c) { cols.push_back(c); });
            std::vector<Bits> col_rows(cols.size(), Bits(rwords, 0));
            std::vector<int> col_count(cols.size(), 0);
            for (std::size_t k = 0; k < cols.size(); ++k) {
                for (int i = 0; i < nrows; ++i)
                    if (test(rows_[live[i]], cols[k])) set(col_rows[k], i), ++col_count[k];
            }
            for (std::size_t a = 0; a < cols.size(); ++a) {
                if (col_count[a] == 0) {
                    reset(alive, cols[a]);
                    changed = true;
                    continue;
                }
                for (std::size_t b = 0; b < cols.size(); ++b) {
                    if (a == b || !test(alive, cols[b]) || p_.cost[cols[b]] > p_.cost[cols[a]] ||
                        col_count[b] < col_count[a])
                        continue;
                    bool inside = true;
                    for (int w = 0; w < rwords && inside; ++w) inside = (col_rows[a][w] & ~col_rows[b][w]) == 0;
                    // Equal columns: keep the lower index.
                    if (inside && (col_count[b] > col_count[a] || p_.cost[cols[b]] < p_.cost[cols[a]] || b < a)) {
                        reset(alive, cols[a]);
                        changed = true;
                        break;
                    }
                }
            }
        }
        if (cost >= best_cost_) {
            chosen.resize(chosen_mark);
            return;
        }
        if (live.empty()) {
            best_cost_ = cost;
            best_ = chosen;
            chosen.resize(chosen_mark);
            return;
        }
        // Lower bound: rows that share no column need one column each.
        int bound = 0;
        Bits used(words_, 0);
        int shortest = -1, shortest_n = INT_MAX;
        for (int r : live) {
            const int n = count_in(rows_[r], alive);
            if (n < shortest_n) shortest_n = n, shortest = r;
            bool disjoint = true;
            for (int w = 0; w < words_ && disjoint; ++w) disjoint = (rows_[r][w] & alive[w] & used[w]) == 0;
            if (!disjoint) continue;
            int cheapest = INT_MAX;
            for_each_column(rows_[r], alive, [&](int c) { cheapest = std::min(cheapest, p_.cost[c]); });
            bound += cheapest;
            for (int w = 0; w < words_; ++w) used[w] |= rows_[r][w] & alive[w];
        }
        if (cost + bound >= best_cost_) {
            chosen.resize(chosen_mark);
            return;
        }
        // Branch on the columns of the shortest row, the one satisfying most rows first.
        std::vector<std::pair<int, int>> branch;
        for_each_column(rows_[shortest], alive, [&](int c) {
            int n = 0;
            for (int r : live) n += test(rows_[r], c) ? 1 : 0;
            branch.emplace_back(-n, c);
        });
        std::sort(branch.begin(), branch.end());
        for (const auto& [neg, col] : branch) {
            std::vector<int> rest;
            for (int r : live)
                if (!test(rows_[r], col)) rest.push_back(r);
            reset(alive, col);
            chosen.push_back(col);
            visit(rest, alive, chosen, cost + p_.cost[col]);
            chosen.pop_back();
            if (nodes_ > limit_) break;
        }
        chosen.resize(chosen_mark);
    }

    const CoveringProblem& p_;
    int words_;
    long limit_;
    long nodes_ = 0;
    std::vector<Bits> rows_;
    std::vector<int> best_;
    int best_cost_ = INT_MAX;
    bool exact_ = true;
};

}  // namespace

CoveringResult min_cover(const CoveringProblem& problem, long node_limit) {
    return Search(problem, node_limit).run();
}

}  // namespace vormel::minimize
