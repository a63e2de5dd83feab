// Whole runs over the examples and the small benchmark inputs: every method and polarity mode must end
// with the proof passed, and the final terms must realise the expanded input by a check of their own.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "model/problem.h"
#include "report/text_work_area.h"
#include "run/command_fsm.h"
#include "run/session.h"
#include "support/run_inputs.h"
#include "support/test_session.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;
using testing::check_realisation;
using testing::InputFile;
using testing::read_text;
using testing::ScratchDir;

constexpr int kLargestTestedInputs = 12;
constexpr int kLargestCombinationOutputs = 8;
// Keeps the suite short under the sanitizers: Quine-McCluskey on a large 0-set takes seconds, and
// the 0-Set and Automatic modes double the prime work of problems with many outputs.
constexpr int kLargestQmcInputs = 8;
constexpr int kLargestAllModesOutputs = 16;

class EndToEnd : public ::testing::TestWithParam<InputFile> {};

TEST_P(EndToEnd, EveryMethodAndPolarityProvesItsResult) {
    ScratchDir scratch;
    const fs::path input = scratch.path() / GetParam().path.filename();
    fs::copy_file(GetParam().path, input);

    for (int method : {method_qmc, method_cns}) {
        for (int mode : {polarity_one_set, polarity_zero_set, polarity_automatic, polarity_combination}) {
            SCOPED_TRACE("method " + std::to_string(method) + " polarity mode " + std::to_string(mode));
            TextWorkArea area;
            SilentRunWindow window;
            Session session(area, window);
            RunContext& ctx = session.ctx;
            area.set_plain_text(read_text(input));
            ctx.input_file = input.string();
            ctx.options.display_level = 1;
            ctx.options.page_by_page = 0;
            ctx.options.prime_method = method;
            ctx.options.polarity_mode = mode;
            ctx.run_state = 4;

            // Level 1 returns after each step: the first call reads and expands.
            Vormel_CommandFSM(session);
            ASSERT_EQ(ctx.run_state, 5) << area.text();
            const Problem& p = session.problem;
            if (p.inputs() > kLargestTestedInputs) GTEST_SKIP() << p.inputs() << " inputs";
            if (method == method_qmc && p.inputs() > kLargestQmcInputs) break;
            if (mode == polarity_combination && p.outputs() > kLargestCombinationOutputs) continue;
            if (mode != polarity_one_set && p.outputs() > kLargestAllModesOutputs) continue;
            for (int guard = 0; guard < 10 && ctx.run_state != 10; ++guard) Vormel_CommandFSM(session);

            EXPECT_TRUE(session.report_saved);
            EXPECT_NE(area.text().find(" *** Comparison with original expanded Inputs successful."), std::string::npos);
            EXPECT_NE(area.text().find(" *** End of "), std::string::npos);
            EXPECT_EQ(check_realisation(p), "");
            if (HasFailure()) return;
        }
    }
}

// Regression: the merged covers of a full random 5-input, 100-output table hold more rows than six
// times the expanded table (the old fixed bound of expand_x2, System Error 4); the working table
// grows instead and the run proves its result.
TEST(EndToEndBounds, TableAboveSixTimesTheExpandedRowsIsOptimizedNotRefused) {
    ScratchDir scratch;
    const fs::path input = scratch.path() / "full_random.tab";
    std::mt19937 random(1);
    std::ostringstream text;
    text << "a0,a1,a2,a3,a4:";
    for (int j = 0; j < 100; ++j) text << (j > 0 ? "," : "") << "y" << j;
    text << "\n";
    for (int m = 0; m < 32; ++m) {
        for (int i = 4; i >= 0; --i) text << ((m >> i) & 1);
        text << ':';
        for (int j = 0; j < 100; ++j) text << (random() % 2);
        text << "\n";
    }
    std::ofstream(input) << text.str();

    testing::FileRun run(input.string(), 0);
    run.ctx.run_state = 4;
    Vormel_CommandFSM(run.session);
    EXPECT_EQ(run.area.text().find("System Error"), std::string::npos) << run.area.text();
    EXPECT_TRUE(run.session.report_saved);
    EXPECT_NE(run.area.text().find(" *** Comparison with original expanded Inputs successful."), std::string::npos);
    EXPECT_EQ(check_realisation(run.session.problem), "");
}

INSTANTIATE_TEST_SUITE_P(Inputs, EndToEnd, ::testing::ValuesIn(testing::small_inputs(kLargestTestedInputs)),
                         testing::input_name);
INSTANTIATE_TEST_SUITE_P(LargeInputs, EndToEnd, ::testing::ValuesIn(testing::large_inputs(kLargestTestedInputs)),
                         testing::input_name);

}  // namespace
}  // namespace vormel
