// Reduction and solver on random covering problems against trying every set of columns.
#include <csignal>

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "minimize/cover_solver.h"
#include "minimize/covering_reduction.h"

namespace vormel::minimize {
namespace {

struct Cost {
    int columns = 0;
    int sum = 0;
    bool operator==(const Cost&) const = default;
};

bool is_cover(const CoveringMatrix& m, const std::vector<int>& chosen) {
    return std::all_of(m.rows.begin(), m.rows.end(), [&](const std::vector<int>& row) {
        return std::any_of(row.begin(), row.end(), [&](int c) { return std::count(chosen.begin(), chosen.end(), c) > 0; });
    });
}

Cost cost_of(const std::vector<int>& chosen, const std::vector<int>& cost) {
    Cost c{static_cast<int>(chosen.size()), 0};
    for (int col : chosen) c.sum += cost[static_cast<std::size_t>(col)];
    return c;
}

// Every set of columns, as a bit mask.
Cost brute_force(const CoveringMatrix& m, const std::vector<int>& cost) {
    std::vector<unsigned> row_masks;
    for (const auto& row : m.rows) {
        unsigned mask = 0;
        for (int c : row) mask |= 1u << c;
        row_masks.push_back(mask);
    }
    Cost best{1 << 20, 0};
    for (unsigned set = 0; set < (1u << m.columns); ++set) {
        if (!std::all_of(row_masks.begin(), row_masks.end(), [set](unsigned r) { return (r & set) != 0; })) continue;
        Cost c{0, 0};
        for (int col = 0; col < m.columns; ++col) {
            if (!((set >> col) & 1)) continue;
            ++c.columns;
            c.sum += cost[static_cast<std::size_t>(col)];
        }
        if (c.columns < best.columns || (c.columns == best.columns && c.sum < best.sum)) best = c;
    }
    return best;
}

// Rows of random width over up to 12 columns, every column with a cost of 1..4.
CoveringMatrix random_matrix(std::mt19937& rng, std::vector<int>& cost) {
    CoveringMatrix m;
    m.columns = 1 + static_cast<int>(rng() % 12);
    const int rows = 1 + static_cast<int>(rng() % 14);
    for (int r = 0; r < rows; ++r) {
        std::vector<int> row;
        const int width_percent = 10 + static_cast<int>(rng() % 40);
        for (int c = 0; c < m.columns; ++c)
            if (static_cast<int>(rng() % 100) < width_percent) row.push_back(c);
        if (row.empty()) row.push_back(static_cast<int>(rng() % static_cast<unsigned>(m.columns)));
        m.rows.push_back(row);
    }
    cost.clear();
    for (int c = 0; c < m.columns; ++c) cost.push_back(1 + static_cast<int>(rng() % 4));
    return m;
}

TEST(CoveringReduction, KeepsACheapestCover) {
    std::mt19937 rng(99);
    for (int k = 0; k < 1500; ++k) {
        std::vector<int> cost;
        const CoveringMatrix m = random_matrix(rng, cost);
        const ReducedCovering r = reduce_covering(m, cost);
        std::vector<int> core_cost;
        for (int c : r.core_columns) core_cost.push_back(cost[static_cast<std::size_t>(c)]);
        Cost reduced = brute_force(r.core, core_cost);
        const Cost chosen = cost_of(r.chosen, cost);
        reduced.columns += chosen.columns;
        reduced.sum += chosen.sum;
        ASSERT_EQ(reduced, brute_force(m, cost)) << "case " << k;
        for (const auto& row : r.core.rows) ASSERT_FALSE(row.empty());
    }
}

TEST(MinimumCover, FindsTheCheapestCoverAndProvesIt) {
    std::mt19937 rng(4242);
    for (int k = 0; k < 300; ++k) {
        std::vector<int> cost;
        const CoveringMatrix m = random_matrix(rng, cost);
        Observer observer;
        WorkBudget budget(observer, 60);
        const MinimumCover best = minimum_cover(m, cost, budget);
        ASSERT_TRUE(is_cover(m, best.columns)) << "case " << k;
        EXPECT_EQ(cost_of(best.columns, cost), brute_force(m, cost)) << "case " << k;
        EXPECT_TRUE(best.proven && best.cost_proven && !best.stopped) << "case " << k;
        EXPECT_EQ(best.lower_bound, static_cast<int>(best.columns.size()));
    }
}

TEST(MinimumCover, StoppedAtOnceStillCoversWithASoundBound) {
    struct Stopped : Observer {
        bool keep_going() override { return false; }
    } observer;
    std::mt19937 rng(17);
    for (int k = 0; k < 50; ++k) {
        std::vector<int> cost;
        const CoveringMatrix m = random_matrix(rng, cost);
        WorkBudget budget(observer, 60);
        const MinimumCover best = minimum_cover(m, cost, budget);
        ASSERT_TRUE(is_cover(m, best.columns));
        const int least = brute_force(m, cost).columns;
        EXPECT_LE(best.lower_bound, least);
        EXPECT_GE(static_cast<int>(best.columns.size()), least);
        EXPECT_EQ(best.proven, static_cast<int>(best.columns.size()) == best.lower_bound);
    }
}

// A user break must reach the run: the solver's general LP path pointed SIGINT at its own handler,
// process-wide, while it ran (and two runs at once could leave it there). Looked at every time the
// solver polls, on a core large enough for long LPs.
TEST(MinimumCover, SolverNeverTakesOverSigint) {
    struct SigintWatch : Observer {
        void (*ours)(int) = nullptr;
        int polls = 0, foreign = 0;
        bool keep_going() override {
            struct sigaction now {};
            sigaction(SIGINT, nullptr, &now);
            ++polls;
            foreign += now.sa_handler != ours;
            return true;
        }
    } watch;
    watch.ours = [](int) {};
    struct sigaction mine {}, before {};
    mine.sa_handler = watch.ours;
    sigaction(SIGINT, &mine, &before);
    std::mt19937 rng(5);
    CoveringMatrix m;
    m.columns = 1500;
    for (int r = 0; r < 700; ++r) {
        std::vector<int> row;
        for (int k = 0; k < 6; ++k) row.push_back(static_cast<int>(rng() % 1500));
        std::sort(row.begin(), row.end());
        row.erase(std::unique(row.begin(), row.end()), row.end());
        m.rows.push_back(row);
    }
    const std::vector<int> cost(1500, 1);
    WorkBudget budget(watch, 2);
    const MinimumCover best = minimum_cover(m, cost, budget);
    struct sigaction after {};
    sigaction(SIGINT, &before, &after);
    EXPECT_TRUE(is_cover(m, best.columns));
    EXPECT_GT(watch.polls, 10);
    EXPECT_EQ(watch.foreign, 0);
    EXPECT_EQ(after.sa_handler, watch.ours);
}

}  // namespace
}  // namespace vormel::minimize
