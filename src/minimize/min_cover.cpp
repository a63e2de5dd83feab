#include "minimize/min_cover.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

namespace {

using Bits = std::vector<std::uint64_t>;

inline bool test(const Bits& b, int i) { return (b[i >> 6] >> (i & 63)) & 1u; }
inline void set(Bits& b, int i) { b[i >> 6] |= std::uint64_t{1} << (i & 63); }
inline void reset(Bits& b, int i) { b[i >> 6] &= ~(std::uint64_t{1} << (i & 63)); }

class Solver {
public:
    explicit Solver(const CoveringProblem& p) : p_(p), words_((p.columns + 63) / 64), col_rows_(p.columns) {
        for (const auto& row : p.rows) {
            if (row.empty()) continue;
            Bits b(words_, 0);
            for (int c : row) set(b, c);
            const int r = static_cast<int>(rows_.size());
            std::vector<int> cols;
            for (int w = 0; w < words_; ++w)
                for (std::uint64_t m = b[w]; m; m &= m - 1) cols.push_back(64 * w + std::countr_zero(m));
            rows_.push_back(std::move(b));
            row_cols_.push_back(std::move(cols));
            for (int c : row) col_rows_[c].push_back(r);
        }
        for (auto& list : col_rows_) {
            std::sort(list.begin(), list.end());
            list.erase(std::unique(list.begin(), list.end()), list.end());
        }
    }

    CoveringResult solve(const CoverSearch& search, const std::vector<int>& start) {
        std::vector<int> greedy_cover = greedy();
        improve(greedy_cover);
        take(greedy_cover);
        if (covers(start)) {
            std::vector<int> given = start;
            improve(given);
            take(given);
        }
        limit_ = search.node_limit;
        dominance_size_ = search.dominance_size;
        std::vector<int> live(rows_.size());
        for (std::size_t i = 0; i < live.size(); ++i) live[i] = static_cast<int>(i);
        Bits alive(words_, 0);
        for (int c = 0; c < p_.columns; ++c) set(alive, c);
        std::vector<int> chosen;
        visit(live, alive, chosen, 0);
        std::sort(best_.begin(), best_.end());
        return CoveringResult{best_, exact_};
    }

private:
    long long cost_of(const std::vector<int>& cols) const {
        long long cost = 0;
        for (int c : cols) cost += p_.cost[c];
        return cost;
    }
    void take(const std::vector<int>& cols) {
        if (cost_of(cols) < best_cost_) best_cost_ = cost_of(cols), best_ = cols;
    }
    bool covers(const std::vector<int>& cols) const {
        std::vector<int> hits(rows_.size(), 0);
        for (int c : cols) {
            if (c < 0 || c >= p_.columns) return false;
            for (int r : col_rows_[c]) hits[r] = 1;
        }
        return std::all_of(hits.begin(), hits.end(), [](int h) { return h != 0; });
    }

    // Most rows per cost first.
    std::vector<int> greedy() const {
        std::vector<char> open(rows_.size(), 1);
        std::vector<int> open_count(p_.columns);
        for (int c = 0; c < p_.columns; ++c) open_count[c] = static_cast<int>(col_rows_[c].size());
        std::vector<int> chosen;
        for (std::size_t left = rows_.size(); left > 0;) {
            int best = -1;
            for (int c = 0; c < p_.columns; ++c)
                if (open_count[c] > 0 && (best < 0 || static_cast<long>(open_count[c]) * p_.cost[best] >
                                                           static_cast<long>(open_count[best]) * p_.cost[c]))
                    best = c;
            chosen.push_back(best);
            for (int r : col_rows_[best]) {
                if (!open[r]) continue;
                open[r] = 0;
                --left;
                for (int c : row_cols_[r]) --open_count[c];
            }
        }
        return chosen;
    }

    // Local improvement of a cover: drop columns whose rows others hold (dearest first), and
    // replace two columns by one that holds every row only they hold, while that pays.
    void improve(std::vector<int>& chosen) const {
        std::vector<int> hits(rows_.size(), 0);
        for (int c : chosen)
            for (int r : col_rows_[c]) ++hits[r];
        auto drop_redundant = [&] {
            std::vector<int> order = chosen;
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return p_.cost[a] > p_.cost[b]; });
            for (int c : order) {
                bool needed = false;
                for (int r : col_rows_[c]) needed = needed || hits[r] == 1;
                if (needed) continue;
                for (int r : col_rows_[c]) --hits[r];
                chosen.erase(std::find(chosen.begin(), chosen.end(), c));
            }
        };
        drop_redundant();
        std::vector<char> in(p_.columns, 0);
        for (int c : chosen) in[c] = 1;
        std::vector<int> only;
        // The columns outside the cover holding every row that only chosen[a] holds: a pair can
        // only be traded for a column in both lists, so most pairs need no look at their rows.
        std::vector<std::vector<int>> holders;
        auto find_holders = [&](int ca, std::vector<int>& list) {
            list.clear();
            int first = -1;
            for (int r : col_rows_[ca])
                if (hits[r] == 1) {
                    first = r;
                    break;
                }
            if (first < 0) return;
            for (int c : row_cols_[first]) {
                if (in[c]) continue;
                bool all = true;
                for (int r : col_rows_[ca]) all = all && (hits[r] != 1 || test(rows_[r], c));
                if (all) list.push_back(c);
            }
        };
        auto share = [](const std::vector<int>& x, const std::vector<int>& y) {
            for (std::size_t i = 0, j = 0; i < x.size() && j < y.size();) {
                if (x[i] == y[j]) return true;
                x[i] < y[j] ? ++i : ++j;
            }
            return false;
        };
        for (bool changed = true; changed;) {
            changed = false;
            holders.resize(chosen.size());
            for (std::size_t a = 0; a < chosen.size(); ++a) find_holders(chosen[a], holders[a]);
            for (std::size_t a = 0; a < chosen.size() && !changed; ++a) {
                if (holders[a].empty()) continue;
                for (std::size_t b = a + 1; b < chosen.size() && !changed; ++b) {
                    if (!share(holders[a], holders[b])) continue;
                    const int ca = chosen[a], cb = chosen[b];
                    // Rows only a or b hold (one row held by both alone counts too).
                    only.clear();
                    for (int r : col_rows_[ca])
                        if (hits[r] == 1 || (hits[r] == 2 && test(rows_[r], cb))) only.push_back(r);
                    for (int r : col_rows_[cb])
                        if (hits[r] == 1) only.push_back(r);
                    if (only.empty()) continue;
                    const long long budget = p_.cost[ca] + p_.cost[cb];
                    int pick = -1;
                    for (int c : row_cols_[only[0]]) {
                        if (in[c] || p_.cost[c] >= budget) continue;
                        bool all = true;
                        for (int r : only) all = all && test(rows_[r], c);
                        if (all) {
                            pick = c;
                            break;
                        }
                    }
                    if (pick < 0) continue;
                    for (int r : col_rows_[ca]) --hits[r];
                    for (int r : col_rows_[cb]) --hits[r];
                    for (int r : col_rows_[pick]) ++hits[r];
                    in[ca] = in[cb] = 0;
                    in[pick] = 1;
                    chosen.erase(chosen.begin() + static_cast<long>(b));
                    chosen[a] = pick;
                    drop_redundant();
                    changed = true;
                }
            }
        }
    }

    // Rows are short: their column lists beat a pass over every column's word.
    int count_in(int r, const Bits& alive) const {
        int n = 0;
        for (int c : row_cols_[r]) n += test(alive, c) ? 1 : 0;
        return n;
    }
    bool subset(int a, int b, const Bits& alive) const {  // row a's alive columns within row b
        for (int c : row_cols_[a])
            if (test(alive, c) && !test(rows_[b], c)) return false;
        return true;
    }
    template <typename Fn>
    void for_each_column(int r, const Bits& alive, Fn&& fn) const {
        for (int c : row_cols_[r])
            if (test(alive, c)) fn(c);
    }

    // Drops rows that contain another row, and columns whose rows a column as cheap also holds.
    // Runs at most search nodes: its buffers live in the solver, so a node allocates nothing here.
    bool dominance(std::vector<int>& live, Bits& alive, bool root) {
        bool changed = false;
        if (root || static_cast<int>(live.size()) <= dominance_size_) {
            by_size_.clear();
            for (int r : live) by_size_.emplace_back(count_in(r, alive), r);
            std::sort(by_size_.begin(), by_size_.end());
            // A kept row inside r has its lowest column in r: look only among those (kept rows
            // chained per lowest column).
            first_kept_.resize(static_cast<std::size_t>(p_.columns), -1);
            next_kept_.clear();
            kept_rows_.clear();
            std::vector<int> kept;
            for (const auto& [size, r] : by_size_) {
                bool dominated = false;
                for_each_column(r, alive, [&](int c) {
                    for (int k = first_kept_[static_cast<std::size_t>(c)]; k >= 0 && !dominated;
                         k = next_kept_[static_cast<std::size_t>(k)])
                        dominated = subset(kept_rows_[static_cast<std::size_t>(k)], r, alive);
                });
                if (dominated) continue;
                kept.push_back(r);
                int lowest = -1;
                for_each_column(r, alive, [&](int c) {
                    if (lowest < 0) lowest = c;
                });
                if (lowest >= 0) {
                    next_kept_.push_back(first_kept_[static_cast<std::size_t>(lowest)]);
                    first_kept_[static_cast<std::size_t>(lowest)] = static_cast<int>(kept_rows_.size());
                    kept_rows_.push_back(r);
                }
            }
            for (int r : kept_rows_)
                for_each_column(r, alive, [&](int c) { first_kept_[static_cast<std::size_t>(c)] = -1; });
            if (kept.size() != live.size()) live.swap(kept);
        }
        std::vector<int>& cols = cols_;
        cols.clear();
        for (int w = 0; w < words_; ++w)
            for (std::uint64_t m = alive[w]; m; m &= m - 1) cols.push_back(64 * w + std::countr_zero(m));
        if (!root && static_cast<int>(cols.size()) > dominance_size_) return changed;
        const int nrows = static_cast<int>(live.size());
        const int rwords = (nrows + 63) / 64;
        // Row sets of the alive columns, column k at [k * rwords, (k + 1) * rwords).
        index_of_.resize(static_cast<std::size_t>(p_.columns), -1);
        for (std::size_t k = 0; k < cols.size(); ++k) index_of_[static_cast<std::size_t>(cols[k])] = static_cast<int>(k);
        col_bits_.assign(cols.size() * static_cast<std::size_t>(rwords), 0);
        col_count_.assign(cols.size(), 0);
        auto rows_of = [&](std::size_t k) { return col_bits_.data() + k * static_cast<std::size_t>(rwords); };
        for (int i = 0; i < nrows; ++i)
            for_each_column(live[i], alive, [&](int c) {
                const auto k = static_cast<std::size_t>(index_of_[static_cast<std::size_t>(c)]);
                rows_of(k)[i >> 6] |= std::uint64_t{1} << (i & 63);
                ++col_count_[k];
            });
        // A column holding all of a's rows sits in each of them: look among the columns of one.
        for (std::size_t a = 0; a < cols.size(); ++a) {
            if (col_count_[a] == 0) {
                reset(alive, cols[a]);
                changed = true;
                continue;
            }
            const std::uint64_t* rows_a = rows_of(a);
            int first = 0;
            while (rows_a[first] == 0) ++first;
            const int row = live[64 * first + std::countr_zero(rows_a[first])];
            bool dominated = false;
            for_each_column(row, alive, [&](int c) {
                const auto b = static_cast<std::size_t>(index_of_[static_cast<std::size_t>(c)]);
                if (dominated || a == b || p_.cost[cols[b]] > p_.cost[cols[a]] || col_count_[b] < col_count_[a]) return;
                const std::uint64_t* rows_b = rows_of(b);
                bool inside = true;
                for (int w = 0; w < rwords && inside; ++w) inside = (rows_a[w] & ~rows_b[w]) == 0;
                // Equal columns: keep the lower index.
                dominated = inside && (col_count_[b] > col_count_[a] || p_.cost[cols[b]] < p_.cost[cols[a]] || b < a);
            });
            if (dominated) {
                reset(alive, cols[a]);
                changed = true;
            }
        }
        for (int c : cols) index_of_[static_cast<std::size_t>(c)] = -1;
        return changed;
    }

    void visit(std::vector<int> live, Bits alive, std::vector<int>& chosen, long long cost) {
        if (++nodes_ > limit_) {
            exact_ = false;
            return;
        }
        const std::size_t chosen_mark = chosen.size();
        auto leave = [&] { chosen.resize(chosen_mark); };
        for (bool changed = true; changed;) {
            changed = false;
            // A row with one column left forces it. Forcing a column only drops the rows holding it,
            // so the other rows' counts stand and one pass finds every forced column.
            std::vector<int> forced;
            for (int r : live) {
                const int n = count_in(r, alive);
                if (n == 0) return leave();
                if (n == 1) for_each_column(r, alive, [&](int c) { forced.push_back(c); });
            }
            if (!forced.empty()) {
                std::sort(forced.begin(), forced.end());
                forced.erase(std::unique(forced.begin(), forced.end()), forced.end());
                Bits taken(words_, 0);
                for (int col : forced) {
                    chosen.push_back(col);
                    cost += p_.cost[col];
                    reset(alive, col);
                    set(taken, col);
                }
                std::erase_if(live, [&](int r) {
                    return std::any_of(row_cols_[r].begin(), row_cols_[r].end(), [&](int c) { return test(taken, c); });
                });
                changed = true;
            }
            if (changed) continue;
            if (cost >= best_cost_) return leave();
            changed = dominance(live, alive, nodes_ == 1);
        }
        if (cost >= best_cost_) return leave();
        if (live.empty()) {
            best_cost_ = cost;
            best_ = chosen;
            return leave();
        }
        // Lower bound: rows that share no column need one column each.
        long long bound = 0;
        Bits used(words_, 0);
        int shortest = -1, shortest_n = INT_MAX;
        for (int r : live) {
            const int n = count_in(r, alive);
            if (n < shortest_n) shortest_n = n, shortest = r;
            bool disjoint = true;
            for_each_column(r, alive, [&](int c) { disjoint = disjoint && !test(used, c); });
            if (!disjoint) continue;
            long long cheapest = LLONG_MAX;
            for_each_column(r, alive, [&](int c) { cheapest = std::min(cheapest, p_.cost[c]); });
            bound += cheapest;
            for_each_column(r, alive, [&](int c) { set(used, c); });
        }
        if (cost + bound >= best_cost_) return leave();
        // Branch on the columns of the shortest row, the one holding most rows first.
        std::vector<std::pair<int, int>> branch;
        for_each_column(shortest, alive, [&](int c) {
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
        leave();
    }

    const CoveringProblem& p_;
    int words_;
    std::vector<Bits> rows_;
    std::vector<std::vector<int>> row_cols_;  // the columns of each row, ascending
    std::vector<std::vector<int>> col_rows_;
    long limit_ = 0;
    int dominance_size_ = 0;
    long nodes_ = 0;
    std::vector<int> best_;
    long long best_cost_ = LLONG_MAX;
    // Scratch of dominance(); index_of_ and first_kept_ hold -1 between calls.
    std::vector<std::pair<int, int>> by_size_;
    std::vector<int> first_kept_, next_kept_, kept_rows_;
    std::vector<int> cols_, index_of_, col_count_;
    std::vector<std::uint64_t> col_bits_;
    bool exact_ = true;
};

}  // namespace

CoveringResult min_cover(const CoveringProblem& problem, const CoverSearch& search, const std::vector<int>& start) {
    return Solver(problem).solve(search, start);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
