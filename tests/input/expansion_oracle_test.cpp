// The fast expansion (minterm enumeration, blocks, duplicate rows skipped) against the plain
// recursive expansion on seeded random tables, including conflicts and their report lines.
#include <gtest/gtest.h>

#include <random>

#include "expansion_oracle.h"
#include "input/minterm_expansion.h"
#include "report/text_work_area.h"
#include "run/session.h"

namespace vormel::testing {
namespace {

struct Shape {
    int min_inputs;
    int max_inputs;
    int outputs;
    int max_rows;
};

void compare_on_random_tables(unsigned seed, const Shape& shape, int trials) {
    std::mt19937 random(seed);
    const char* kinds[][3] = {{"TABLE", "tab", "FD"}, {"TABLE", "pla", "FD"}, {"TABLE", "pla", "FR"}, {"BOOLEAN", "bol", "FD"}};
    for (int trial = 0; trial < trials; ++trial) {
        TextWorkArea area;
        SilentRunWindow window;
        Session session(area, window);
        Problem& problem = session.problem;
        const auto& kind = kinds[random() % 4];
        problem.input_type = kind[0];
        problem.input_ext = kind[1];
        problem.pla_type = kind[2];
        const bool boolean_input = problem.input_type == "BOOLEAN";
        problem.xmax = shape.min_inputs - 1 +
                       static_cast<int>(random() % static_cast<unsigned>(shape.max_inputs - shape.min_inputs + 1));
        problem.ymax = shape.outputs - 1;
        const int rows = static_cast<int>(random() % static_cast<unsigned>(shape.max_rows + 1));
        problem.intab = TermTable(problem.inputs(), problem.outputs(), rows);
        // Mostly don't cares so that rows overlap; repeated rows now and then.
        for (int r = 0; r < rows; ++r) {
            const int row = problem.intab.append_row();
            if (row > 0 && random() % 6 == 0) {
                problem.intab.copy_row(row, problem.intab, static_cast<int>(random() % static_cast<unsigned>(row)));
                continue;
            }
            for (int i = 0; i < problem.inputs(); ++i) problem.intab.x(row)[i] = random() % 3 == 0 ? random() % 2 : kDash;
            for (int j = 0; j < problem.outputs(); ++j) {
                const auto draw = random() % 10;
                problem.intab.y(row)[j] = boolean_input ? draw < 4 : draw < 7 ? kDash : draw % 2;
            }
        }
        for (int j = 0; j < kMaxOutputs; ++j) problem.rest_values[j] = static_cast<std::uint8_t>(random() % 3);
        problem.extab.create(problem.inputs(), problem.outputs(), kZero);

        const OracleExpansion expected = oracle_expand(problem);
        expand_table(session.ctx, problem);
        if (expected.conflict.empty()) {
            ASSERT_EQ(session.ctx.error_flag, 0) << "trial " << trial << area.text();
            ASSERT_TRUE(problem.extab.ys == expected.ys) << "trial " << trial;
        } else {
            ASSERT_NE(session.ctx.error_flag, 0) << "trial " << trial;
            ASSERT_EQ(area.text(), "\n *** Error 9: " + expected.conflict + "\n") << "trial " << trial;
        }
    }
}

TEST(ExpansionOracle, SmallTables) { compare_on_random_tables(11, {1, 6, 3, 12}, 600); }

// Wide enough for the block-wise pass (12 to 14 inputs, 100 outputs: 2 to 8 blocks).
// Output counts around the sixteen merged at once: one block, a block and a tail, overlapping blocks.
TEST(ExpansionOracle, OutputsMergedSixteenAtOnce) {
    compare_on_random_tables(13, {3, 8, 16, 6}, 200);
    compare_on_random_tables(14, {3, 8, 17, 5}, 200);
    compare_on_random_tables(15, {3, 8, 31, 4}, 200);
}

TEST(ExpansionOracle, BlockWisePass) { compare_on_random_tables(12, {12, 14, 100, 30}, 30); }

}  // namespace
}  // namespace vormel::testing
