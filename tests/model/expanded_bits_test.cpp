#include <gtest/gtest.h>

#include <random>

#include "model/expanded_bits.h"

namespace {

using vormel::ExpandedBits;
using vormel::ExpandedTable;

ExpandedTable random_table(int inputs, int outputs, std::mt19937& random) {
    ExpandedTable table;
    table.create(inputs, outputs, vormel::kDash);
    std::uniform_int_distribution<int> value(0, 2);
    for (auto& entry : table.ys) entry = static_cast<std::uint8_t>(value(random));
    return table;
}

// Tables from under one word of lines to several, with output counts around the word sizes.
TEST(ExpandedBits, PackAndUnpackGiveTheSameTableAndTheLinesOfEachValue) {
    std::mt19937 random(7);
    for (int inputs : {1, 3, 6, 7, 9}) {
        for (int outputs : {1, 5, 8, 33}) {
            const ExpandedTable table = random_table(inputs, outputs, random);
            ExpandedBits bits;
            ASSERT_TRUE(bits.pack(table));
            for (int j = 0; j < outputs; ++j) {
                for (int v = 0; v <= 1; ++v) {
                    const auto lines = bits.lines_of(j, v);
                    std::int64_t expected = 0;
                    for (int r = 0; r < table.rows(); ++r) {
                        const bool set = (lines[static_cast<std::size_t>(r / 64)] >> (r % 64)) & 1;
                        EXPECT_EQ(set, table.y(r)[j] == v) << inputs << " inputs, output " << j << ", line " << r;
                        expected += table.y(r)[j] == v ? 1 : 0;
                    }
                    EXPECT_EQ(bits.count(j, v), expected);
                }
            }
            ExpandedTable back;
            bits.unpack(back);
            EXPECT_EQ(back.nx, table.nx);
            EXPECT_EQ(back.ny, table.ny);
            EXPECT_EQ(back.last, table.last);
            EXPECT_EQ(back.ys, table.ys) << inputs << " inputs, " << outputs << " outputs";
        }
    }
}

TEST(ExpandedBits, ValueOutsideZeroOneAndDashIsNotPacked) {
    std::mt19937 random(3);
    ExpandedTable table = random_table(8, 4, random);
    table.y(200)[2] = vormel::kUnassigned;
    ExpandedBits bits;
    EXPECT_FALSE(bits.pack(table));
}

}  // namespace
