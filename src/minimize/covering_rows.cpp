#include "minimize/covering_rows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <unordered_set>

#include "cubes/cover_algebra.h"

namespace vormel::minimize {

using cubes::Cover;
using cubes::Cube;
using cubes::kLowBits;

namespace {

struct RowHash {
    std::size_t operator()(const std::vector<int>& row) const {
        std::size_t h = row.size();
        for (int c : row) h = (h ^ static_cast<std::size_t>(c)) * 0x100000001b3ull;
        return h;
    }
};

class RowSplitter {
public:
    RowSplitter(const Cover& primes, const cubes::Space& s, WorkBudget& budget, RowStats& stats)
        : primes_(primes), s_(s), budget_(budget), stats_(stats) {}

    bool stopped() const { return stopped_; }
    std::vector<std::vector<int>>& rows() { return rows_; }

    void split_cube(const Cube& c) {
        std::vector<int> holding, partial;
        for (int p = 0; p < static_cast<int>(primes_.size()); ++p) {
            const Cube& q = primes_[p];
            if (cubes::contains(q, c)) holding.push_back(p);
            else if (cubes::intersects(q, c, s_)) partial.push_back(p);
        }
        split(c, holding, partial);
    }

private:
    // `holding`: the primes that hold all of r; `partial`: those that meet r without holding it.
    void split(const Cube& r, std::vector<int>& holding, const std::vector<int>& partial) {
        ++stats_.regions;
        if (stopped_ || (stopped_ = budget_.exhausted_sometimes() || budget_.spend(partial.size()))) return;
        if (!partial.empty()) {
            Cover pieces;
            pieces.reserve(partial.size());
            for (int p : partial) pieces.push_back(primes_[p]);
            if (cubes::covers(pieces, r, s_)) {
                split_on(r, holding, partial, pieces);
                return;
            }
        }
        ++stats_.leaves;
        std::vector<int> row = holding;
        std::sort(row.begin(), row.end());
        rows_.push_back(std::move(row));
    }

    // Splits r on the free input that the most partly covering primes bind, or else on the
    // outputs of one of them.
    void split_on(const Cube& r, const std::vector<int>& holding, const std::vector<int>& partial, const Cover& pieces) {
        const std::uint64_t free = cubes::free_pairs(r.in);
        std::array<int, 32> count{};
        bool any = false;
        for (const Cube& q : pieces) {
            for (std::uint64_t bound = free & ~cubes::free_pairs(q.in); bound != 0; bound &= bound - 1) {
                ++count[std::countr_zero(bound) >> 1];
                any = true;
            }
        }
        Cube halves[2] = {r, r};
        if (any) {
            const int v = static_cast<int>(std::max_element(count.begin(), count.end()) - count.begin());
            halves[0].in &= ~(std::uint64_t{2} << (2 * v));
            halves[1].in &= ~(std::uint64_t{1} << (2 * v));
        } else {
            const Cube* narrow = nullptr;
            for (const Cube& q : pieces) {
                if (!cubes::contains(q, r)) {
                    narrow = &q;
                    break;
                }
            }
            for (int k = 0; k < 2; ++k) {
                halves[0].out[k] = r.out[k] & narrow->out[k];
                halves[1].out[k] = r.out[k] & ~narrow->out[k];
            }
        }
        for (const Cube& half : halves) {
            std::vector<int> holding_half = holding, partial_half;
            for (int p : partial) {
                const Cube& q = primes_[p];
                if (cubes::contains(q, half)) holding_half.push_back(p);
                else if (cubes::intersects(q, half, s_)) partial_half.push_back(p);
            }
            split(half, holding_half, partial_half);
            if (stopped_) return;
        }
    }

    const Cover& primes_;
    const cubes::Space& s_;
    WorkBudget& budget_;
    RowStats& stats_;
    std::vector<std::vector<int>> rows_;
    bool stopped_ = false;
};

}  // namespace

bool covering_rows(const Cover& on, const Cover& primes, const cubes::Space& s, WorkBudget& budget,
                   CoveringMatrix& matrix, RowStats& stats) {
    RowSplitter splitter(primes, s, budget, stats);
    for (const Cube& c : on) {
        if (cubes::is_empty(c, s)) continue;
        splitter.split_cube(c);
        if (splitter.stopped()) return false;
    }
    matrix.columns = static_cast<int>(primes.size());
    matrix.rows.clear();
    std::unordered_set<std::vector<int>, RowHash> seen;
    for (std::vector<int>& row : splitter.rows()) {
        if (seen.insert(row).second) matrix.rows.push_back(std::move(row));
    }
    return true;
}

}  // namespace vormel::minimize
