// The rows built from split ON cubes must keep every row that row dominance keeps among the
// rows of all ON points, and only rows that some ON point really has.
#include <algorithm>
#include <set>

#include <gtest/gtest.h>

#include "minimize/covering_rows.h"
#include "minimize/minterm_oracle.h"

namespace vormel::minimize {
namespace {

using Row = std::vector<int>;

// Rows that hold no other row of the set.
std::set<Row> minimal(const std::set<Row>& rows) {
    std::set<Row> out;
    for (const Row& r : rows) {
        const bool holds_other = std::any_of(rows.begin(), rows.end(), [&](const Row& q) {
            return q != r && std::includes(r.begin(), r.end(), q.begin(), q.end());
        });
        if (!holds_other) out.insert(r);
    }
    return out;
}

// The row of every ON point: the primes holding it.
std::set<Row> point_rows(const testing::SmallFunction& f, const cubes::Cover& primes) {
    std::set<Row> rows;
    for (int j = 0; j < f.space.ny; ++j) {
        const std::uint64_t on = f.mask(j, true, false, false);
        for (int p = 0; p < f.points(); ++p) {
            if (!((on >> p) & 1)) continue;
            Row row;
            for (int k = 0; k < static_cast<int>(primes.size()); ++k) {
                const cubes::Cube& q = primes[static_cast<std::size_t>(k)];
                if (cubes::has_output(q, j) && ((testing::cube_points(q.in.w[0], f.space.nx) >> p) & 1)) row.push_back(k);
            }
            rows.insert(row);
        }
    }
    return rows;
}

TEST(CoveringRows, KeepTheDominantRowsOfAllOnPoints) {
    std::mt19937 rng(5150);
    for (int k = 0; k < 2000; ++k) {
        const int nx = 1 + static_cast<int>(rng() % 6);
        const int ny = 1 + static_cast<int>(rng() % 3);
        const testing::SmallFunction f =
            k % 3 ? testing::random_small_function(rng, nx, ny) : testing::random_point_function(rng, nx, ny, 40, 15);
        const cubes::Cover primes = testing::brute_force_primes(f);
        Observer observer;
        WorkBudget budget(observer, 60);
        CoveringMatrix matrix;
        RowStats stats;
        ASSERT_TRUE(covering_rows(f.on_cubes, primes, f.space, budget, matrix, stats));
        EXPECT_EQ(matrix.columns, static_cast<int>(primes.size()));
        const std::set<Row> found(matrix.rows.begin(), matrix.rows.end());
        EXPECT_EQ(found.size(), matrix.rows.size()) << "duplicate rows, case " << k;
        const std::set<Row> all = point_rows(f, primes);
        EXPECT_TRUE(std::includes(all.begin(), all.end(), found.begin(), found.end())) << "a row no point has, case " << k;
        EXPECT_EQ(minimal(found), minimal(all)) << "case " << k;
    }
}

}  // namespace
}  // namespace vormel::minimize
