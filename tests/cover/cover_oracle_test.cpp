#include <gtest/gtest.h>

#include <random>

#include "cover/cover_fixture.h"
#include "cover/cover_select.h"
#include "cover/dense_cover_oracle.h"

namespace {

using cover_test::CoverBench;

struct RandomCase {
    int inputs = 0;
    std::vector<std::vector<int>> values;
    int polarity_mode = 1;
    std::vector<int> polarity;
    // Per output and value: the cubes to store.
    std::vector<std::vector<std::vector<std::string>>> cubes;
};

// A random function of 2 to 7 inputs and 1 to 3 outputs, its true primes in a shuffled order, and
// now and then a few extra implicants (so that equal and nested rows occur).
RandomCase make_case(unsigned seed) {
    std::mt19937 rng(seed);
    RandomCase c;
    c.inputs = 2 + static_cast<int>(rng() % 6);
    const int outputs = 1 + static_cast<int>(rng() % 3);
    const int lines = 1 << c.inputs;
    for (int j = 0; j < outputs; ++j) {
        std::vector<int> v(static_cast<std::size_t>(lines));
        const int ones = static_cast<int>(rng() % 10);
        const int dcs = static_cast<int>(rng() % 4);
        for (int& x : v) {
            const int r = static_cast<int>(rng() % 10);
            x = r < ones ? 1 : r < ones + dcs ? 2 : 0;
        }
        c.values.push_back(v);
        c.polarity.push_back(static_cast<int>(rng() % 2));
    }
    c.polarity_mode = static_cast<int>(rng() % 4);
    CoverBench bench(c.inputs, c.values, 0);
    c.cubes.resize(static_cast<std::size_t>(outputs), std::vector<std::vector<std::string>>(2));
    for (int j = 0; j < outputs; ++j) {
        for (int v = 0; v < 2; ++v) {
            auto primes = cover_test::brute_force_primes(bench.problem, j, v);
            std::shuffle(primes.begin(), primes.end(), rng);
            if (!primes.empty() && rng() % 3 == 0) {
                // Narrow a copy of some prime by one literal: still an implicant, dominated or equal.
                const int extra = 1 + static_cast<int>(rng() % 3);
                for (int e = 0; e < extra; ++e) {
                    std::string cube = primes[rng() % primes.size()];
                    const int i = static_cast<int>(rng() % c.inputs);
                    if (cube[i] == '-') cube[i] = rng() % 2 ? '1' : '0';
                    primes.insert(primes.begin() + static_cast<long>(rng() % (primes.size() + 1)), cube);
                }
            }
            c.cubes[j][v] = primes;
        }
    }
    return c;
}

struct Outcome {
    std::string text;
    std::vector<vormel::TextWorkArea::Run> runs;
    std::vector<std::vector<std::vector<std::string>>> stored;
    int error_flag = 0;
};

template <typename Step>
Outcome run_case(const RandomCase& c, int level, Step step) {
    CoverBench bench(c.inputs, c.values, level);
    bench.ctx.options.polarity_mode = c.polarity_mode;
    bench.problem.polarity = c.polarity;
    for (std::size_t j = 0; j < c.cubes.size(); ++j) {
        for (int v = 0; v < 2; ++v) bench.set_primes(static_cast<int>(j), v, c.cubes[j][v]);
    }
    step(bench);
    Outcome out{bench.area.text(), bench.area.runs(), {}, bench.ctx.error_flag};
    for (std::size_t j = 0; j < c.cubes.size(); ++j) {
        out.stored.push_back({bench.stored(static_cast<int>(j), 0), bench.stored(static_cast<int>(j), 1)});
    }
    return out;
}

bool covers(const std::string& cube, int line, int n) {
    for (int i = 0; i < n; ++i) {
        if (cube[i] != '-' && cube[i] - '0' != ((line >> (n - 1 - i)) & 1)) return false;
    }
    return true;
}

TEST(CoverOracle, SparseSelectionMatchesDenseReportsAtEveryLevel) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        const RandomCase c = make_case(seed);
        for (int level = 1; level <= 4; ++level) {
            const Outcome sparse = run_case(c, level, [](CoverBench& b) {
                vormel::Cover_Single(b.ctx, b.problem, b.store);
            });
            const Outcome dense = run_case(c, level, [](CoverBench& b) {
                cover_oracle::dense_cover_single(b.ctx, b.problem, b.store);
            });
            ASSERT_EQ(sparse.text, dense.text) << "seed " << seed << " level " << level;
            ASSERT_EQ(sparse.runs.size(), dense.runs.size()) << "seed " << seed << " level " << level;
            for (std::size_t r = 0; r < sparse.runs.size(); ++r) {
                ASSERT_EQ(sparse.runs[r].start, dense.runs[r].start) << "seed " << seed;
                ASSERT_EQ(sparse.runs[r].length, dense.runs[r].length) << "seed " << seed;
                ASSERT_TRUE(sparse.runs[r].colour == dense.runs[r].colour) << "seed " << seed;
                ASSERT_EQ(sparse.runs[r].bold, dense.runs[r].bold) << "seed " << seed;
            }
            ASSERT_EQ(sparse.stored, dense.stored) << "seed " << seed << " level " << level;
            ASSERT_EQ(sparse.error_flag, 0) << "seed " << seed;

        }
    }
}

TEST(CoverOracle, EveryCoverCoversItsMintermsWithStoredPrimes) {
    for (unsigned seed = 1000; seed < 1300; ++seed) {
        const RandomCase c = make_case(seed);
        const Outcome out = run_case(c, 0, [](CoverBench& b) { vormel::Cover_Single(b.ctx, b.problem, b.store); });
        const int lines = 1 << c.inputs;
        for (std::size_t j = 0; j < c.cubes.size(); ++j) {
            const bool one_pass = c.polarity_mode < 2;
            for (int v = 0; v < 2; ++v) {
                if (one_pass && v != c.polarity[j]) continue;
                const auto& cover = out.stored[j][v];
                for (const auto& cube : cover) {
                    EXPECT_NE(std::find(c.cubes[j][v].begin(), c.cubes[j][v].end(), cube), c.cubes[j][v].end())
                        << "seed " << seed << ": " << cube << " was not stored";
                }
                for (int line = 0; line < lines; ++line) {
                    if (c.values[j][line] != v) continue;
                    const bool hit = std::any_of(cover.begin(), cover.end(),
                                                 [&](const std::string& cube) { return covers(cube, line, c.inputs); });
                    EXPECT_TRUE(hit) << "seed " << seed << " output " << j << " value " << v << " line " << line;
                }
            }
        }
    }
}

}  // namespace
