#include "minimize/blocking_rows.h"

#include <bit>

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cube;

namespace {

// The row of the lowest bit of `rows`, a non-zero part of word w.
std::size_t row_index(int w, std::uint64_t rows) {
    return 64 * static_cast<std::size_t>(w) + static_cast<std::size_t>(std::countr_zero(rows));
}

}  // namespace

void BlockingRows::start(const cubes::CoverColumns& off, const Growth& g) {
    off_ = &off;
    const int n = off.words();
    active_.assign(static_cast<std::size_t>(n), 0);
    out_miss_.assign(static_cast<std::size_t>(n), 0);
    // The raised bit of every pair with one bit raised: a row meets the cube in that pair only when
    // it has that bit; a row without it can never be met once the pair's other bit is lowered.
    const cubes::InBits in = g.raise.in;
    const cubes::InBits raised_alone = in & ~cubes::pairs_of(cubes::free_pairs(in));
    std::vector<const std::uint64_t*>& meet_cols = cols_;
    std::vector<const std::uint64_t*>& closed_cols = closed_;
    meet_cols.clear();
    closed_cols.clear();
    raised_alone.for_each([&](int a) {
        meet_cols.push_back(off.input(a));
        if (!g.free.in.test(a ^ 1)) closed_cols.push_back(off.input(a));
    });
    live_.clear();
    for (int w = 0; w < n; ++w) {
        const std::uint64_t valid = off.present()[w];
        const std::uint64_t meets = cubes::CoverColumns::all_of(meet_cols, w, valid);
        const std::uint64_t outs_meet = off.any_output(g.raise.out, w);
        std::uint64_t active = valid & ~(meets & outs_meet);
        for (const std::uint64_t* col : closed_cols) active &= col[w];
        active_[w] = active;
        out_miss_[w] = active & ~outs_meet;
        if (active) live_.push_back(w);
    }
    const cubes::OutBits lowered = off.space().out_full & ~(g.raise.out | g.free.out);
    if (lowered.any()) drop_rows_without_free_outputs(g, lowered);
    drop_empty_words();
}

void BlockingRows::drop_rows_without_free_outputs(const Growth& g, const cubes::OutBits& lowered) {
    const bool any_free = g.free.out.any();
    // Column passes cost a word per output; a few candidate rows are cheaper looked at one by one.
    const int column_cost = lowered.count() + g.free.out.count();
    for (int w : live_) {
        // Only rows with a lowered output can have run out of free ones.
        std::uint64_t dead = out_miss_[w];
        if (!dead) continue;
        if (any_free) {
            if (std::popcount(dead) < column_cost) {
                for (std::uint64_t rows = dead; rows; rows &= rows - 1) {
                    const cubes::OutBits& out = off_->row_outputs(row_index(w, rows));
                    if ((out & lowered).none() || (out & g.free.out).any()) dead &= ~(rows & (~rows + 1));
                }
            } else {
                dead &= off_->any_output(lowered, w);
                if (!dead) continue;
                dead &= ~off_->any_output(g.free.out, w);
            }
        }
        active_[w] &= ~dead;
        out_miss_[w] &= ~dead;
    }
}

void BlockingRows::drop_empty_words() {
    std::size_t kept = 0;
    for (int w : live_)
        if (active_[w]) live_[kept++] = w;
    live_.resize(kept);
}

void BlockingRows::settle(Growth& g) {
    // A free input bit b is a conflict of the rows that lack its pair's raised bit b ^ 1.
    auto collect = [&] {
        bits_.clear();
        cols_.clear();
        g.free.in.for_each([&](int b) {
            bits_.push_back(b);
            cols_.push_back(off_->input(b ^ 1));
        });
    };
    collect();
    const std::size_t k = bits_.size();
    // Rows with exactly one conflict left lower it: counted per row with two bit planes.
    // Meanwhile which free input bits some row blocks, for when nothing is lowered.
    cubes::InBits lower_in;
    cubes::OutBits lower_out;
    blocks_.assign(k, 0);
    for (int w : live_) {
        const std::uint64_t active = active_[w];
        std::uint64_t ones = 0, twos = 0;
        for (std::size_t i = 0; i < k; ++i) {
            const std::uint64_t x = active & ~cols_[i][w];
            twos |= ones & x;
            ones |= x;
            blocks_[i] |= x;
        }
        const std::uint64_t miss = out_miss_[w];
        twos |= ones & miss;
        ones |= miss;
        const std::uint64_t single = ones & ~twos;
        if (!single) continue;
        for (std::size_t i = 0; i < k; ++i)
            if (single & ~cols_[i][w]) lower_in.set(bits_[i]);
        // A row whose one conflict is its outputs keeps every free output of its own low.
        for (std::uint64_t rows = single & miss; rows; rows &= rows - 1) lower_out |= off_->row_outputs(row_index(w, rows));
    }
    lower_out &= g.free.out;
    if (lower_in.any() || lower_out.any()) {
        g.free.in &= ~lower_in;
        g.free.out &= ~lower_out;
        // A row conflicting in a lowered part can never be met.
        lower_in.for_each([&](int b) {
            const std::uint64_t* col = off_->input(b ^ 1);
            for (int w : live_) {
                active_[w] &= col[w];
                out_miss_[w] &= col[w];
            }
        });
        if (lower_out.any()) drop_rows_without_free_outputs(g, lower_out);
        drop_empty_words();
        collect();
        blocks_.assign(bits_.size(), 0);
        for (std::size_t i = 0; i < bits_.size(); ++i)
            for (int w : live_)
                if (active_[w] & ~cols_[i][w]) {
                    blocks_[i] = 1;
                    break;
                }
    }
    // Raise the free parts that no row left uses as a conflict.
    cubes::Cube unblocked;
    for (std::size_t i = 0; i < bits_.size(); ++i)
        if (!blocks_[i]) unblocked.in.set(bits_[i]);
    g.free.out.for_each([&](int j) {
        const std::uint64_t* col = off_->output(j);
        for (int w : live_)
            if (out_miss_[w] & col[w]) return;
        unblocked.out.set(j);
    });
    // No row conflicts in them, so raising them changes no row's conflicts.
    g.raise = cubes::supercube(g.raise, unblocked);
    g.free.in &= ~unblocked.in;
    g.free.out &= ~unblocked.out;
}

void BlockingRows::raise(Growth& g, const Cube& parts) {
    const cubes::OutBits new_outs = parts.out & ~g.raise.out;
    new_outs.for_each([&](int j) {
        const std::uint64_t* col = off_->output(j);
        for (int w : live_) out_miss_[w] &= ~col[w];
    });
    g.raise = cubes::supercube(g.raise, parts);
    g.free.in &= ~parts.in;
    g.free.out &= ~parts.out;
}

bool BlockingRows::meets_after(const Growth& g, const Cube& t) {
    // Free bits t leaves alone keep the rows conflicting there unmet.
    cols_.clear();
    (g.free.in & ~t.in).for_each([&](int b) { cols_.push_back(off_->input(b ^ 1)); });
    const cubes::OutBits new_outs = t.out & ~g.raise.out;
    for (int w : live_) {
        const std::uint64_t m = cubes::CoverColumns::all_of(cols_, w, active_[w]);
        if (m && (m & (~out_miss_[w] | off_->any_output(new_outs, w)))) return true;
    }
    return false;
}

int BlockingRows::input_blockers(int b) const {
    const std::uint64_t* col = off_->input(b ^ 1);
    int n = 0;
    for (int w : live_) n += std::popcount(active_[w] & ~col[w]);
    return n;
}

int BlockingRows::output_blockers(int j) const {
    const std::uint64_t* col = off_->output(j);
    int n = 0;
    for (int w : live_) n += std::popcount(out_miss_[w] & col[w]);
    return n;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
