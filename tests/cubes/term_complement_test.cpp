// The complement of a term table at any width (the PLA export of inverted outputs), against points.
#include <random>
#include <stdexcept>

#include <gtest/gtest.h>

#include "cubes/term_complement.h"

namespace vormel::cubes {
namespace {

bool row_has(const TermTable& t, int r, const std::vector<std::uint8_t>& point, int j) {
    if (t.y(r)[j] != kOne) return false;
    for (int i = 0; i < t.nx; ++i) {
        if (t.x(r)[i] != kDash && t.x(r)[i] != point[static_cast<std::size_t>(i)]) return false;
    }
    return true;
}

bool table_has(const TermTable& t, const std::vector<std::uint8_t>& point, int j) {
    for (int r = 0; r <= t.last; ++r) {
        if (row_has(t, r, point, j)) return true;
    }
    return false;
}

TEST(TermComplement, EveryPointIsInExactlyOneOfTheTableAndItsComplementAtAnyWidth) {
    std::mt19937 rng(5);
    for (int nx : {3, 32, 33, 70, 200}) {
        SCOPED_TRACE(std::to_string(nx) + " inputs");
        const int ny = 3;
        // Literals on a few inputs, always the first and the last: the complement stays small.
        const std::vector<int> used = {0, nx / 2, nx - 1};
        TermTable t(nx, ny);
        for (int k = 0; k < 5; ++k) {
            const int r = t.append_row();
            for (int i : used) {
                if (rng() % 3) t.x(r)[i] = static_cast<std::uint8_t>(rng() % 2);
            }
            for (int j = 0; j < ny; ++j) t.y(r)[j] = rng() % 2 ? kOne : kZero;
        }
        const TermTable c = complement_terms(t);
        ASSERT_EQ(c.nx, nx);
        ASSERT_EQ(c.ny, ny);
        std::vector<std::uint8_t> point(static_cast<std::size_t>(nx));
        for (int p = 0; p < 200; ++p) {
            for (auto& v : point) v = static_cast<std::uint8_t>(rng() % 2);
            for (int j = 0; j < ny; ++j) ASSERT_NE(table_has(t, point, j), table_has(c, point, j)) << "point " << p;
        }
    }
}

TEST(TermComplement, RefusesATableWiderThanEveryClass) {
    EXPECT_THROW(complement_terms(TermTable(5000, 1)), std::length_error);
}

}  // namespace
}  // namespace vormel::cubes
