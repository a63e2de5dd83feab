#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "primes/literal_files.h"

namespace {

using vormel::kDeadBit;
using vormel::LiteralFiles;

// A cube contains c with fewer literals; a marked entry contains nothing.
bool strictly_contains(std::uint32_t r_care, std::uint32_t r_value, std::uint32_t care, std::uint32_t value) {
    return r_care != kDeadBit && (r_care & ~care) == 0 && ((r_value ^ value) & r_care) == 0 && r_care != care;
}

bool scan(const std::uint32_t* care, const std::uint32_t* value, std::size_t count, std::uint32_t c_care,
          std::uint32_t c_value) {
    for (std::size_t k = 0; k < count; ++k) {
        if (strictly_contains(care[k], value[k], c_care, c_value)) return true;
    }
    return false;
}

// Random cubes over 20 variables filed, deleted and queried, with the list compacted and filed
// again now and then as the consensus absorption does; every answer against a scan of the list.
TEST(LiteralFiles, ContainmentAnswersMatchAScanOfTheWholeList) {
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> literal(0, 3);
    const auto random_cube = [&](std::uint32_t& care, std::uint32_t& value) {
        care = value = 0;
        for (int b = 0; b < 20; ++b) {
            const int v = literal(rng);
            if (v >= 2) continue;  // "-" half of the time
            care |= 1u << b;
            value |= static_cast<std::uint32_t>(v) << b;
        }
    };
    std::vector<std::uint32_t> cares;
    std::vector<std::uint32_t> values;
    LiteralFiles files;
    int yes = 0;
    int no = 0;
    int resets = 0;
    for (int step = 0; step < 12000; ++step) {
        std::uint32_t care = 0;
        std::uint32_t value = 0;
        random_cube(care, value);
        const bool expected = scan(cares.data(), values.data(), cares.size(), care, value);
        if (files.active()) {
            ASSERT_EQ(files.strictly_contains(care, value, scan), expected) << "step " << step;
            ++(expected ? yes : no);
        }
        // Delete one in three steps, and more than are added between steps 5,000 and 7,000.
        const int deletions = step >= 5000 && step < 7000 ? 2 : step % 3 == 0 ? 1 : 0;
        for (int d = 0; d < deletions && !cares.empty(); ++d) {
            const std::size_t k = std::uniform_int_distribution<std::size_t>(0, cares.size() - 1)(rng);
            if (cares[k] == kDeadBit) continue;
            cares[k] = values[k] = kDeadBit;
            if (files.active()) files.kill(k);
        }
        cares.push_back(care);
        values.push_back(value);
        if (files.active()) files.add(care, value);
        else if (cares.size() >= LiteralFiles::kWorthFrom) files.build(cares.data(), values.data(), cares.size());
        if (step % 700 == 699) {
            std::erase(cares, kDeadBit);
            std::erase(values, kDeadBit);
            if (cares.size() >= LiteralFiles::kWorthFrom) files.build(cares.data(), values.data(), cares.size());
            else if (files.active()) {
                files.reset();
                ++resets;
            }
        }
    }
    EXPECT_GT(yes, 500);
    EXPECT_GT(no, 500);
    EXPECT_GT(resets, 0);
}

// The cube without literals contains every cube with literals, and only those.
TEST(LiteralFiles, CubeWithoutLiteralsContainsEveryCubeWithLiterals) {
    std::vector<std::uint32_t> cares;
    for (int k = 0; k < 3000; ++k) cares.push_back(1u << (k % 20));
    cares.push_back(0);
    const std::vector<std::uint32_t> values(cares.size(), 0);
    LiteralFiles files;
    files.build(cares.data(), values.data(), cares.size());
    EXPECT_TRUE(files.strictly_contains(0b11u << 20, 0, scan));
    EXPECT_FALSE(files.strictly_contains(0, 0, scan));
}

}  // namespace
