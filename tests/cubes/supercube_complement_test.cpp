// The supercube of the uncovered points, against the points themselves.
#include <gtest/gtest.h>

#include "cubes/cube_oracle.h"
#include "cubes/supercube_complement.h"

namespace vormel::cubes {
namespace {

TEST(SupercubeOfComplement, IsTheSmallestCubeHoldingEveryUncoveredPoint) {
    std::mt19937 rng(31);
    for (int round = 0; round < 2000; ++round) {
        const int nx = 1 + round % 12;
        const Space s = Space::of(nx, 1);
        const int count = static_cast<int>(rng() % 24);
        const int free_percent = 30 + static_cast<int>(rng() % 60);
        // Every other round, cubes on disjoint groups of inputs: the walk takes the groups apart.
        const Cover cover = round % 2 ? testing::random_cover(rng, s, count, free_percent)
                                      : testing::random_grouped_cover(rng, s, 3 * count, free_percent / 2, 2 + round % 3);
        InputCover f;
        for (const Cube& c : cover) f.push_back(c.in);
        InBits expected;
        for (std::uint32_t p = 0; p < (1u << nx); ++p) {
            bool covered = false;
            for (const InBits& in : f) covered = covered || testing::cube_has_point(Cube{in, OutBits::bit(0)}, p, nx);
            if (covered) continue;
            for (int i = 0; i < nx; ++i) expected |= input_bits(i, (p >> i) & 1);
        }
        ASSERT_EQ(input_supercube_of_complement(f, s), expected) << "round " << round;
    }
}

}  // namespace
}  // namespace vormel::cubes
