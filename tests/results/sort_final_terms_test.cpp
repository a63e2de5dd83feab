#include <random>

#include <gtest/gtest.h>

#include "results/problem_fixture.h"
#include "results/sort_final_terms.h"

namespace vormel {
namespace {

using testing::add_row;
using testing::make_problem;

__extension__ typedef unsigned __int128 WideKey;

// The selection sort written out: key 2^(ymax - f + 1) - b, the first largest key to the front.
TermTable sort_by_key_oracle(const TermTable& table) {
    TermTable t = table;
    const int ymax = t.ny - 1;
    std::vector<WideKey> keys;
    for (int r = 0; r < t.rows(); ++r) {
        int f = -1, l = -1;
        for (int j = 0; j <= ymax; ++j) {
            if (t.y(r)[j] == kDash) continue;
            if (f < 0) f = j;
            l = j;
        }
        if (f < 0) l = f;
        WideKey b = 0;
        for (int j = l; j >= f + 1; --j) b = 2 * b + (t.y(r)[j] != kDash ? 1 : 0);
        keys.push_back((WideKey{1} << (ymax - f + 1)) - b);
    }
    TermTable row(t.nx, t.ny, 1);
    row.append_row();
    for (int p = 0; p + 1 < t.rows(); ++p) {
        int best = p;
        for (int q = p + 1; q < t.rows(); ++q) {
            if (keys[q] > keys[best]) best = q;
        }
        if (best == p) continue;
        row.copy_row(0, t, p);
        t.copy_row(p, t, best);
        t.copy_row(best, row, 0);
        std::swap(keys[p], keys[best]);
    }
    return t;
}

TermTable random_table(std::mt19937& rng, int inputs, int outputs, int rows) {
    TermTable t(inputs, outputs);
    std::uniform_int_distribution<int> value(0, 2);
    // Few outputs fed per row, so that equal keys are common.
    std::uniform_int_distribution<int> fed(0, 3);
    for (int r = 0; r < rows; ++r) {
        const int row = t.append_row();
        for (int i = 0; i < inputs; ++i) t.x(row)[i] = static_cast<std::uint8_t>(value(rng));
        for (int j = 0; j < outputs; ++j) t.y(row)[j] = fed(rng) == 0 ? kOne : kDash;
    }
    return t;
}

TEST(SortFinalTerms, MatchesTheSelectionSortOnRandomTables) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const int outputs = 1 + round % 100;
        const int rows = static_cast<int>(rng() % 40);
        const TermTable table = random_table(rng, 4, outputs % 7 == 0 ? outputs : 1 + outputs % 7, rows);
        TermTable sorted = table;
        sort_final_terms(sorted);
        const TermTable expected = sort_by_key_oracle(table);
        ASSERT_EQ(sorted.rows(), expected.rows());
        for (int r = 0; r < sorted.rows(); ++r) {
            ASSERT_TRUE(std::equal(sorted.x(r), sorted.x(r) + 4, expected.x(r))) << "round " << round << " row " << r;
            ASSERT_TRUE(std::equal(sorted.y(r), sorted.y(r) + sorted.ny, expected.y(r))) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace vormel
