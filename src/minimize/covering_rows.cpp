#include "minimize/covering_rows.h"

#include <algorithm>
#include <unordered_set>

#include "cubes/cover_algebra.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;

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
        const cubes::InBits free = cubes::free_pairs(r.in);
        // Filled and read before the recursion, so one buffer serves every level.
        std::vector<int>& count = count_;
        count.assign(static_cast<std::size_t>(s_.nx), 0);
        bool any = false;
        for (const Cube& q : pieces) {
            (free & ~cubes::free_pairs(q.in)).for_each([&](int bound) {
                ++count[bound >> 1];
                any = true;
            });
        }
        Cube halves[2] = {r, r};
        if (any) {
            const int v = static_cast<int>(std::max_element(count.begin(), count.end()) - count.begin());
            halves[0].in &= ~cubes::input_bits(v, 1);
            halves[1].in &= ~cubes::input_bits(v, 0);
        } else {
            const Cube* narrow = nullptr;
            for (const Cube& q : pieces) {
                if (!cubes::contains(q, r)) {
                    narrow = &q;
                    break;
                }
            }
            halves[0].out = r.out & narrow->out;
            halves[1].out = r.out & ~narrow->out;
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
    std::vector<int> count_;
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

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
