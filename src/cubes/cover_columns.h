#pragma once
#include <cstdint>
#include <vector>

#include "cubes/cube.h"

// A cover transposed: for every input bit and every output, the set of the cover's cubes (rows)
// that have it, one bit per row. Which rows meet a cube is then an AND over the columns of its
// literals and an OR over those of its outputs, |f|/64 words each, instead of a pass over the cubes.
namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

class CoverColumns {
public:
    // Empty cubes of f meet nothing and get no bits.
    CoverColumns(const Cover& f, const Space& s);

    const Space& space() const { return s_; }
    std::size_t rows() const { return rows_; }
    int words() const { return words_; }
    // The rows whose input part has bit b / whose output part has output j.
    const std::uint64_t* input(int b) const { return in_.data() + static_cast<std::size_t>(b) * words_; }
    const std::uint64_t* output(int j) const { return out_.data() + static_cast<std::size_t>(j) * words_; }
    // The rows that are not empty.
    const std::uint64_t* present() const { return present_.data(); }
    // The output part of row r (none for an empty row): row by row is cheaper than column by
    // column when only a few rows of a word are wanted.
    const OutBits& row_outputs(std::size_t r) const { return row_out_[r]; }

    // Of the rows in `rows` (word w), those in every column of `cols`.
    static std::uint64_t all_of(const std::vector<const std::uint64_t*>& cols, int w, std::uint64_t rows) {
        for (const std::uint64_t* col : cols) {
            rows &= col[w];
            if (!rows) break;
        }
        return rows;
    }
    // The rows (word w) with some output of `outs`.
    std::uint64_t any_output(const OutBits& outs, int w) const {
        std::uint64_t rows = 0;
        outs.for_each([&](int j) { rows |= output(j)[w]; });
        return rows;
    }

    // Row `row` of the cover changed from `before` to `after`.
    void replace(std::size_t row, const Cube& before, const Cube& after);

    // Calls fn(row) for every row that meets c, in ascending order.
    template <typename Fn>
    void for_each_meeting(const Cube& c, Fn&& fn) {
        if (is_empty(c, s_)) return;
        literal_columns(c);
        for (int w = 0; w < words_; ++w) {
            const std::uint64_t m = all_of(scratch_, w, present_[w]);
            if (m) for_each_bit(w, m & any_output(c.out, w), fn);
        }
    }

    // Calls fn(row) for every row whose input part is at distance at most one from c's (the
    // outputs aside), in ascending order.
    template <typename Fn>
    void for_each_near(const Cube& c, Fn&& fn) {
        if (empty_pairs(c.in, s_).any()) return;
        literal_columns(c);
        for (int w = 0; w < words_; ++w) {
            const std::uint64_t rows = present_[w];
            std::uint64_t ones = 0, twos = 0;
            for (const std::uint64_t* col : scratch_) {
                const std::uint64_t apart = rows & ~col[w];
                twos |= ones & apart;
                ones |= apart;
            }
            for_each_bit(w, rows & ~twos, fn);
        }
    }

private:
    void set_row(std::size_t row, const Cube& c, bool on);
    // The columns of the input bits c has alone in their pair: a row meets c in that pair only
    // with that bit.
    void literal_columns(const Cube& c);
    template <typename Fn>
    static void for_each_bit(int w, std::uint64_t m, Fn& fn) {
        for (; m; m &= m - 1) fn(static_cast<std::size_t>(w) * 64 + static_cast<std::size_t>(std::countr_zero(m)));
    }

    Space s_;
    std::size_t rows_;
    int words_;
    std::vector<std::uint64_t> in_;
    std::vector<std::uint64_t> out_;
    std::vector<std::uint64_t> present_;
    std::vector<OutBits> row_out_;
    std::vector<const std::uint64_t*> scratch_;
};

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
