#include "cubes/cover_columns.h"

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

CoverColumns::CoverColumns(const Cover& f, const Space& s)
    : s_(s), rows_(f.size()), words_(static_cast<int>((f.size() + 63) / 64)),
      in_(static_cast<std::size_t>(2 * s.nx) * static_cast<std::size_t>(words_), 0),
      out_(static_cast<std::size_t>(s.ny) * static_cast<std::size_t>(words_), 0),
      present_(static_cast<std::size_t>(words_), 0), row_out_(f.size()) {
    for (std::size_t r = 0; r < f.size(); ++r) set_row(r, f[r], true);
}

void CoverColumns::set_row(std::size_t row, const Cube& c, bool on) {
    if (is_empty(c, s_)) return;
    const std::uint64_t bit = std::uint64_t{1} << (row & 63);
    const std::size_t w = row >> 6;
    auto put = [&](std::uint64_t& word) { word = on ? word | bit : word & ~bit; };
    (c.in & s_.in_full).for_each([&](int b) { put(in_[static_cast<std::size_t>(b) * words_ + w]); });
    (c.out & s_.out_full).for_each([&](int j) { put(out_[static_cast<std::size_t>(j) * words_ + w]); });
    put(present_[w]);
    row_out_[row] = on ? c.out & s_.out_full : OutBits{};
}

void CoverColumns::replace(std::size_t row, const Cube& before, const Cube& after) {
    set_row(row, before, false);
    set_row(row, after, true);
}

void CoverColumns::literal_columns(const Cube& c) {
    scratch_.clear();
    const InBits alone = c.in & ~pairs_of(free_pairs(c.in)) & s_.in_full;
    alone.for_each([&](int b) { scratch_.push_back(input(b)); });
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
