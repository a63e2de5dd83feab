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
        : primes_(primes), s_(s), budget_(budget), stats_(stats),
          // Each split binds a free input or drops outputs from the piece: the depth stays below this.
          levels_(static_cast<std::size_t>(s.nx + s.ny + 2)), alone_(primes.size(), 0) {}

    bool stopped() const { return stopped_; }
    std::vector<std::vector<int>>& rows() { return rows_; }

    void split_cube(const Cube& c) {
        Level& top = levels_[0];
        top.holding.clear();
        top.partial.clear();
        for (int p = 0; p < static_cast<int>(primes_.size()); ++p) {
            const Cube& q = primes_[p];
            if (cubes::contains(q, c)) top.holding.push_back(p);
            else if (cubes::intersects(q, c, s_)) top.partial.push_back(p);
        }
        split(c, 0, false);
    }

private:
    // The primes that hold all of a piece and those that meet it without holding it, both
    // ascending. One level per depth, reused from piece to piece: no allocation per piece.
    struct Level {
        std::vector<int> holding, partial;
    };

    // `covered`: the partly covering primes are known to cover r (those of the piece r was cut from
    // did, and none of them holds r whole).
    void split(const Cube& r, std::size_t depth, bool covered) {
        ++stats_.regions;
        const Level& level = levels_[depth];
        if (stopped_ || (stopped_ = budget_.exhausted_sometimes() || budget_.spend(level.partial.size()))) return;
        // Every row below holds the piece's holders. When one of them already makes a row alone,
        // those rows are dominated by it and the covering problem does not need them.
        for (int p : level.holding) {
            if (alone_[static_cast<std::size_t>(p)]) return;
        }
        if (!level.partial.empty()) {
            pieces_.clear();
            for (int p : level.partial) pieces_.push_back(primes_[p]);
            if (covered || cubes::covers(pieces_, r, s_)) {
                split_on(r, depth);
                return;
            }
        }
        ++stats_.leaves;
        if (level.holding.size() == 1) alone_[static_cast<std::size_t>(level.holding[0])] = 1;
        rows_.push_back(level.holding);
    }

    // Splits r on the free input that the most partly covering primes bind, or else on the
    // outputs of one of them (the primes of this level are in pieces_).
    void split_on(const Cube& r, std::size_t depth) {
        const cubes::InBits free = cubes::free_pairs(r.in);
        std::vector<int>& count = count_;
        count.assign(static_cast<std::size_t>(s_.nx), 0);
        bool any = false;
        for (const Cube& q : pieces_) {
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
            for (const Cube& q : pieces_) {
                if (!cubes::contains(q, r)) {
                    narrow = &q;
                    break;
                }
            }
            halves[0].out = r.out & narrow->out;
            halves[1].out = r.out & ~narrow->out;
        }
        // pieces_ is refilled below this level; nothing here reads it again.
        for (const Cube& half : halves) {
            const Level& level = levels_[depth];
            Level& next = levels_[depth + 1];
            next.partial.clear();
            gained_.clear();
            for (int p : level.partial) {
                const Cube& q = primes_[p];
                if (cubes::contains(q, half)) gained_.push_back(p);
                else if (cubes::intersects(q, half, s_)) next.partial.push_back(p);
            }
            next.holding.resize(level.holding.size() + gained_.size());
            std::merge(level.holding.begin(), level.holding.end(), gained_.begin(), gained_.end(), next.holding.begin());
            split(half, depth + 1, gained_.empty());
            if (stopped_) return;
        }
    }

    const Cover& primes_;
    const cubes::Space& s_;
    WorkBudget& budget_;
    RowStats& stats_;
    std::vector<Level> levels_;
    std::vector<std::vector<int>> rows_;
    Cover pieces_;
    std::vector<int> gained_;
    std::vector<int> count_;
    std::vector<char> alone_;  // the primes that make a row on their own (essential ones)
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
