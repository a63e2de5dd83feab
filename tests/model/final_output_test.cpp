#include <gtest/gtest.h>

#include <random>

#include "model/final_output.h"

namespace {

using vormel::ExpandedTable;
using vormel::FinalOutput;
using vormel::kDash;
using vormel::kOne;
using vormel::kZero;
using vormel::TermTable;

TermTable random_terms(std::mt19937& rng, int inputs, int outputs, int rows) {
    TermTable t(inputs, outputs);
    std::uniform_int_distribution<int> value(0, 9);
    std::uniform_int_distribution<int> fed(0, 2);
    for (int r = 0; r < rows; ++r) {
        const int row = t.append_row();
        // Mostly "-" inputs, so that terms reach across blocks of rows.
        for (int i = 0; i < inputs; ++i) {
            const int v = value(rng);
            t.x(row)[i] = v == 0 ? kZero : v == 1 ? kOne : kDash;
        }
        for (int j = 0; j < outputs; ++j) t.y(row)[j] = fed(rng) == 0 ? kOne : kDash;
    }
    return t;
}

// Every row by the definition: a term covers a row when each of its literals matches the row's bit.
ExpandedTable brute_force(const TermTable& terms, int inputs, const std::vector<std::uint8_t>& uncovered) {
    ExpandedTable table;
    table.create(inputs, static_cast<int>(uncovered.size()), kZero);
    for (int r = 0; r <= table.last; ++r) {
        std::copy(uncovered.begin(), uncovered.end(), table.y(r));
        for (int t = 0; t <= terms.last; ++t) {
            bool covers = true;
            for (int i = 0; i < inputs && covers; ++i) {
                const std::uint8_t x = terms.x(t)[i];
                covers = x == kDash || x == table.x(r, i);
            }
            if (!covers) continue;
            for (int j = 0; j < table.ny; ++j) {
                if (terms.y(t)[j] != kDash) table.y(r)[j] = terms.y(t)[j];
            }
        }
    }
    return table;
}

// From one block of rows (5 inputs) to several (14 inputs: four blocks of 4,096 rows).
TEST(FinalOutput, RowsMatchTheTermsReadWholeByRowAndByRange) {
    std::mt19937 rng(11);
    for (int inputs : {5, 13, 14}) {
        for (int round = 0; round < 6; ++round) {
            const TermTable terms = random_terms(rng, inputs, 3, 1 + round * 3);
            const std::vector<std::uint8_t> uncovered{kZero, kOne, kZero};
            const ExpandedTable expected = brute_force(terms, inputs, uncovered);
            const FinalOutput out(inputs, terms, uncovered);
            ASSERT_EQ(out.last, expected.last);
            EXPECT_EQ(out.to_table().ys, expected.ys) << inputs << " inputs, round " << round;
            // Rows read backwards change block at every block edge.
            for (int r = out.last; r >= 0; r -= 37) {
                for (int j = 0; j < 3; ++j) ASSERT_EQ(out.y(r)[j], expected.y(r)[j]) << "row " << r;
            }
            // A range across a block edge, not aligned to one.
            const int first = std::min(out.last, FinalOutput::kBlockRows - 5);
            const int last = std::min(out.last, FinalOutput::kBlockRows + 7);
            std::vector<std::uint8_t> range(static_cast<std::size_t>(last - first + 1) * 3);
            out.fill_rows(first, last, range.data());
            for (int r = first; r <= last; ++r) {
                for (int j = 0; j < 3; ++j) ASSERT_EQ(range[static_cast<std::size_t>(r - first) * 3 + j], expected.y(r)[j]);
            }
        }
    }
}

// Rows of two tables read in turn on one thread, and a copy read after its original changed.
TEST(FinalOutput, TablesReadSideBySideKeepTheirOwnRows) {
    std::mt19937 rng(5);
    const TermTable terms_a = random_terms(rng, 13, 2, 6);
    const TermTable terms_b = random_terms(rng, 13, 2, 6);
    const FinalOutput a(13, terms_a, {kZero, kZero});
    FinalOutput b(13, terms_b, {kOne, kOne});
    const FinalOutput copy = b;
    const ExpandedTable want_a = brute_force(terms_a, 13, {kZero, kZero});
    const ExpandedTable want_b = brute_force(terms_b, 13, {kOne, kOne});
    for (int r = 0; r <= a.last; r += 101) {
        const std::uint8_t* row_a = a.y(r);
        const std::uint8_t* row_b = b.y(r);
        EXPECT_EQ(row_a[0], want_a.y(r)[0]);
        EXPECT_EQ(row_b[1], want_b.y(r)[1]);
    }
    b = FinalOutput(13, terms_a, {kZero, kZero});
    for (int r = 0; r <= copy.last; r += 101) {
        EXPECT_EQ(copy.y(r)[0], want_b.y(r)[0]) << "row " << r;
        EXPECT_EQ(b.y(r)[0], want_a.y(r)[0]) << "row " << r;
    }
}

}  // namespace
