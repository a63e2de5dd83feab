// The supercube of the uncovered points, against the points themselves.
#include <gtest/gtest.h>

#include "cubes/cube_oracle.h"
#include "cubes/supercube_complement.h"

namespace vormel::cubes {
namespace {

TEST(SupercubeOfComplement, IsTheSmallestCubeHoldingEveryUncoveredPoint) {
    std::mt19937 rng(31);
    for (int round = 0; round < 2000; ++round) {
        const int nx = 1 + round % 9;
        const Space s = Space::of(nx, 1);
        const int count = static_cast<int>(rng() % 24);
        InputCover f;
        for (const Cube& c : testing::random_cover(rng, s, count, 30 + static_cast<int>(rng() % 60))) f.push_back(c.in);
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
