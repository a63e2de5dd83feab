// Whole runs of the cube engines over the examples and every benchmark file: each polarity mode must
// end with the proof passed, and the final terms must realise the expanded input by a check of their own.
#include <gtest/gtest.h>

#include "model/problem.h"
#include "report/text_work_area.h"
#include "run/command_fsm.h"
#include "run/session.h"
#include "support/run_inputs.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;
using testing::InputFile;

constexpr int kLargestRunInputs = 22;
constexpr int kLargestExactInputs = 10;

struct RunResult {
    std::string report;
    bool saved = false;
    std::string realisation;
    int inputs = 0;
};

RunResult run_whole(const fs::path& input, int method, int mode) {
    TextWorkArea area;
    SilentRunWindow window;
    Session session(area, window);
    RunContext& ctx = session.ctx;
    area.set_plain_text(testing::read_text(input));
    ctx.input_file = input.string();
    ctx.options.display_level = 0;
    ctx.options.page_by_page = 0;
    ctx.options.prime_method = method;
    ctx.options.polarity_mode = mode;
    // ex1010 is not proven within any short limit: the run must still end with a valid, bounded cover.
    ctx.options.exact_limit_seconds = 5;
    ctx.run_state = 4;
    for (int guard = 0; guard < 10 && ctx.run_state != 10; ++guard) Vormel_CommandFSM(session);
    RunResult result;
    result.report = area.text();
    result.saved = session.report_saved;
    result.inputs = session.problem.inputs();
    if (result.saved) result.realisation = testing::check_realisation(session.problem);
    return result;
}

class CubeEngineRuns : public ::testing::TestWithParam<InputFile> {};

TEST_P(CubeEngineRuns, EveryPolarityModeProvesItsResult) {
    testing::ScratchDir scratch;
    const fs::path input = scratch.path() / GetParam().path.filename();
    fs::copy_file(GetParam().path, input);
    int inputs = 0;
    for (int method : {method_shared, method_exact}) {
        if (method == method_exact && inputs > kLargestExactInputs) break;
        for (int mode : {polarity_one_set, polarity_zero_set, polarity_automatic, polarity_combination}) {
            SCOPED_TRACE("method " + std::to_string(method) + " polarity mode " + std::to_string(mode));
            const RunResult run = run_whole(input, method, mode);
            inputs = run.inputs;
            if (run.report.find("is limited to") != std::string::npos) {
                EXPECT_EQ(mode, polarity_combination);
                EXPECT_FALSE(run.saved);
                continue;
            }
            EXPECT_TRUE(run.saved) << run.report.substr(0, 4000);
            EXPECT_NE(run.report.find(" *** Comparison with original expanded Inputs successful."), std::string::npos);
            EXPECT_EQ(run.realisation, "");
            if (HasFailure()) return;
            if (method == method_exact && mode == polarity_one_set) {
                const bool proven = run.report.find(" *** Proven minimum:") != std::string::npos;
                const bool bounded = run.report.find(" *** Time limit reached:") != std::string::npos;
                EXPECT_TRUE(proven || bounded);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, CubeEngineRuns, ::testing::ValuesIn(testing::small_inputs(kLargestRunInputs)),
                         testing::input_name);
INSTANTIATE_TEST_SUITE_P(LargeInputs, CubeEngineRuns, ::testing::ValuesIn(testing::large_inputs(kLargestRunInputs)),
                         testing::input_name);

}  // namespace
}  // namespace vormel
