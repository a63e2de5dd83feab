#include "results/sort_final_terms.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

#include "model/term_table.h"

namespace vormel {

namespace {

// A row's key as exact parts: the key grows as f falls and, for one f, as b falls. Comparing the parts
// keeps the order that the 32-bit key gives while it fits, and stays right for up to 100 outputs.
struct SortKey {
    int first = -1;
    std::vector<std::uint64_t> fed;  // outputs fed, one bit each; the last output is most significant
};

SortKey key_of(const TermTable& table, int row) {
    SortKey key;
    key.fed.assign(static_cast<std::size_t>((table.ny + 63) / 64), 0);
    const std::uint8_t* y = table.y(row);
    for (int j = 0; j < table.ny; ++j) {
        if (y[j] == kDash) continue;
        if (key.first < 0) key.first = j;
        key.fed[static_cast<std::size_t>(j / 64)] |= std::uint64_t{1} << (j % 64);
    }
    return key;
}

// True when a's key is larger than b's. Rows with the same first output have the same bits below
// and at it, so comparing all bits compares b.
bool larger_key(const SortKey& a, const SortKey& b) {
    if (a.first != b.first) return a.first < b.first;
    for (std::size_t w = a.fed.size(); w-- > 0;) {
        if (a.fed[w] != b.fed[w]) return a.fed[w] < b.fed[w];
    }
    return false;
}

// Minimum of ranks over positions, the leftmost position on ties: one selection step in O(log n).
class RankTree {
public:
    explicit RankTree(const std::vector<int>& ranks) : size_(1) {
        while (size_ < static_cast<int>(ranks.size())) size_ *= 2;
        nodes_.assign(static_cast<std::size_t>(2 * size_), kNone);
        for (std::size_t p = 0; p < ranks.size(); ++p) nodes_[size_ + p] = static_cast<int>(p);
        rank_ = ranks;
        for (int n = size_ - 1; n >= 1; --n) nodes_[n] = better(nodes_[2 * n], nodes_[2 * n + 1]);
    }
    int best() const { return nodes_[1]; }
    void set_rank(int position, int rank) {
        rank_[position] = rank;
        int n = (size_ + position) / 2;
        nodes_[size_ + position] = rank == kNone ? kNone : position;
        for (; n >= 1; n /= 2) nodes_[n] = better(nodes_[2 * n], nodes_[2 * n + 1]);
    }
    static constexpr int kNone = std::numeric_limits<int>::max();

private:
    int better(int left, int right) const {
        if (left == kNone) return right;
        if (right == kNone) return left;
        return rank_[right] < rank_[left] ? right : left;
    }
    int size_;
    std::vector<int> nodes_;  // leaf: its position (kNone when done); inner: the best position below
    std::vector<int> rank_;
};

}  // namespace

void sort_final_terms(TermTable& table) {
    const int rows = table.rows();
    if (rows < 2) return;
    std::vector<SortKey> keys;
    keys.reserve(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) keys.push_back(key_of(table, r));

    // Rank 0 for the largest key; equal keys share a rank.
    std::vector<int> by_key(static_cast<std::size_t>(rows));
    std::iota(by_key.begin(), by_key.end(), 0);
    std::stable_sort(by_key.begin(), by_key.end(), [&](int a, int b) { return larger_key(keys[a], keys[b]); });
    std::vector<int> rank(static_cast<std::size_t>(rows));
    for (int k = 0; k < rows; ++k) {
        const bool same = k > 0 && !larger_key(keys[by_key[k - 1]], keys[by_key[k]]);
        rank[by_key[k]] = same ? rank[by_key[k - 1]] : k;
    }

    // The selection sort with swaps: at each position the first remaining row with the largest key.
    std::vector<int> order(static_cast<std::size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    RankTree tree(rank);
    for (int p = 0; p + 1 < rows; ++p) {
        const int q = tree.best();
        if (q != p) {
            std::swap(order[p], order[q]);
            tree.set_rank(q, rank[order[q]]);
        }
        tree.set_rank(p, RankTree::kNone);
    }

    TermTable sorted(table.nx, table.ny, rows);
    for (int p = 0; p < rows; ++p) {
        sorted.append_row();
        sorted.copy_row(p, table, order[p]);
    }
    table = std::move(sorted);
}

}  // namespace vormel
