#include "minimize/covering_reduction.h"

#include <algorithm>
#include <numeric>

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

namespace {

// The live part of the problem with both orientations; rebuilt after each change, which costs
// one pass over the entries.
struct Sparse {
    std::vector<std::vector<int>> row_cols;
    std::vector<std::vector<int>> col_rows;
    std::vector<int> cols;  // live columns, ascending (indices of the input matrix)

    void rebuild_columns(int columns) {
        col_rows.assign(static_cast<std::size_t>(columns), {});
        for (int r = 0; r < static_cast<int>(row_cols.size()); ++r)
            for (int c : row_cols[static_cast<std::size_t>(r)]) col_rows[static_cast<std::size_t>(c)].push_back(r);
        cols.clear();
        for (int c = 0; c < columns; ++c)
            if (!col_rows[static_cast<std::size_t>(c)].empty()) cols.push_back(c);
    }
};

// Takes the sole column of every single-column row; returns whether any was taken.
bool take_essentials(Sparse& m, std::vector<char>& chosen) {
    bool any = false;
    for (const auto& row : m.row_cols) {
        if (row.size() == 1 && !chosen[static_cast<std::size_t>(row[0])]) {
            chosen[static_cast<std::size_t>(row[0])] = 1;
            any = true;
        }
    }
    if (!any) return false;
    std::erase_if(m.row_cols, [&](const std::vector<int>& row) {
        return std::any_of(row.begin(), row.end(), [&](int c) { return chosen[static_cast<std::size_t>(c)] != 0; });
    });
    return true;
}

// Drops every row that holds all columns of another row (of equal rows the first stays).
bool drop_dominated_rows(Sparse& m, int columns) {
    const int n = static_cast<int>(m.row_cols.size());
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return m.row_cols[static_cast<std::size_t>(a)].size() < m.row_cols[static_cast<std::size_t>(b)].size();
    });
    std::vector<char> dropped(static_cast<std::size_t>(n), 0);
    std::vector<int> mark(static_cast<std::size_t>(columns), -1);
    bool any = false;
    for (int r : order) {
        if (dropped[static_cast<std::size_t>(r)]) continue;
        const auto& cols = m.row_cols[static_cast<std::size_t>(r)];
        int rarest = cols[0];
        for (int c : cols) {
            mark[static_cast<std::size_t>(c)] = r;
            if (m.col_rows[static_cast<std::size_t>(c)].size() < m.col_rows[static_cast<std::size_t>(rarest)].size()) rarest = c;
        }
        for (int s : m.col_rows[static_cast<std::size_t>(rarest)]) {
            const auto& other = m.row_cols[static_cast<std::size_t>(s)];
            if (s == r || dropped[static_cast<std::size_t>(s)] || other.size() < cols.size()) continue;
            if (other.size() == cols.size() && s < r) continue;  // the equal row found first stays
            std::size_t hits = 0;
            for (int c : other) hits += mark[static_cast<std::size_t>(c)] == r;
            if (hits == cols.size()) {
                dropped[static_cast<std::size_t>(s)] = 1;
                any = true;
            }
        }
    }
    if (!any) return false;
    std::vector<std::vector<int>> kept;
    for (int r = 0; r < n; ++r)
        if (!dropped[static_cast<std::size_t>(r)]) kept.push_back(std::move(m.row_cols[static_cast<std::size_t>(r)]));
    m.row_cols = std::move(kept);
    return true;
}

// Drops every column whose rows another column of no greater cost covers too.
bool drop_dominated_columns(Sparse& m, const std::vector<int>& cost) {
    const int rows = static_cast<int>(m.row_cols.size());
    std::vector<int> mark(static_cast<std::size_t>(rows), -1);
    std::vector<char> dropped(m.col_rows.size(), 0);
    bool any = false;
    for (int a : m.cols) {
        const auto& a_rows = m.col_rows[static_cast<std::size_t>(a)];
        int rarest = a_rows[0];
        for (int r : a_rows) {
            mark[static_cast<std::size_t>(r)] = a;
            if (m.row_cols[static_cast<std::size_t>(r)].size() < m.row_cols[static_cast<std::size_t>(rarest)].size()) rarest = r;
        }
        for (int b : m.row_cols[static_cast<std::size_t>(rarest)]) {
            if (b == a || dropped[static_cast<std::size_t>(b)]) continue;
            const auto& b_rows = m.col_rows[static_cast<std::size_t>(b)];
            const int ca = cost[static_cast<std::size_t>(a)], cb = cost[static_cast<std::size_t>(b)];
            if (b_rows.size() < a_rows.size() || cb > ca) continue;
            // Equal rows and cost: the lower index stays.
            if (b_rows.size() == a_rows.size() && cb == ca && b > a) continue;
            std::size_t hits = 0;
            for (int r : b_rows) hits += mark[static_cast<std::size_t>(r)] == a;
            if (hits == a_rows.size()) {
                dropped[static_cast<std::size_t>(a)] = 1;
                any = true;
                break;
            }
        }
    }
    if (!any) return false;
    for (auto& row : m.row_cols) std::erase_if(row, [&](int c) { return dropped[static_cast<std::size_t>(c)] != 0; });
    return true;
}

}  // namespace

ReducedCovering reduce_covering(const CoveringMatrix& input, const std::vector<int>& cost) {
    ReducedCovering out;
    Sparse m;
    m.row_cols = input.rows;
    std::vector<char> chosen(static_cast<std::size_t>(input.columns), 0);
    bool changed = true;
    while (changed) {
        ++out.passes;
        changed = take_essentials(m, chosen);
        m.rebuild_columns(input.columns);
        if (drop_dominated_rows(m, input.columns)) {
            changed = true;
            m.rebuild_columns(input.columns);
        }
        if (drop_dominated_columns(m, cost)) {
            changed = true;
            m.rebuild_columns(input.columns);
        }
    }
    for (int c = 0; c < input.columns; ++c)
        if (chosen[static_cast<std::size_t>(c)]) out.chosen.push_back(c);
    out.core_columns = m.cols;
    std::vector<int> renumber(static_cast<std::size_t>(input.columns), -1);
    for (int k = 0; k < static_cast<int>(m.cols.size()); ++k) renumber[static_cast<std::size_t>(m.cols[static_cast<std::size_t>(k)])] = k;
    out.core.columns = static_cast<int>(m.cols.size());
    for (auto& row : m.row_cols) {
        for (int& c : row) c = renumber[static_cast<std::size_t>(c)];
        out.core.rows.push_back(std::move(row));
    }
    return out;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
